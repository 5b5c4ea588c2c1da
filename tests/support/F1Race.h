#pragma once
// F1, the small finished race every output test reads: 2 legs (中継所 5 km, record
// 15'30"; ゴール 6.1 km, no record), 3 teams, 1 substitute, no classes, aliases or OP,
// hundredths off; テスト駅伝 of 2024/01/14 from スタート, race record 34'40", organiser
// "主催：テスト協会"; last year's times 東京 35'00", 大阪AC 34'50", 横浜 none.
//   point 1: 大阪AC 15'20", 東京 15'45", 横浜 16'10"
//   point 2: 東京 34'40", 大阪AC 34'55", 横浜 36'00"
// ShowF1(0) shows the final overall view, ShowF1(k) the view of leg k.
#include "database/ResultRaceFixture.h"
#include "mainwindow/TKukanParamForm.h"
#include "output/TOutputForm.h"
#include "platform/Files.h"

#include <map>
#include <string>

class F1Race : public ResultRace {
  protected:
    struct Runner {
        std::string sei, mei, seiKana, meiKana;
    };

    // The race, saved as the desk would leave it before the results.
    void BuildF1() {
        form().DataFolder = home.path() / "race";
        std::filesystem::create_directories(form().DataFolder);
        DataMdl->SetFolder(form().DataFolder);
        form().TaikaiNo = 1;
        form().TaikaiOpen = true;
        OpenTaikaiTable();
        OpenRace(2, 3, 1);
        form().ReceName.SetText("テスト駅伝");
        form().OrgName.SetText("主催：テスト協会");
        StringGrid& best = form().taikaiBestGrid;
        best.SetCells(1, 1, "2024/01/14");
        best.SetCells(2, 1, "スタート");
        best.SetCells(3, 1, "3440");
        LegInfo(1, "中継所", "5", "1530");
        LegInfo(2, "ゴール", "6.1", "");
        TeamRow(1, "東京", "3500");
        TeamRow(2, "大阪AC", "3450");
        TeamRow(3, "横浜", "");
        PutRunner(1, 1, {"鈴木", "次郎", "ｽｽﾞｷ", "ｼﾞﾛｳ"});
        PutRunner(1, 2, {"山田", "太郎", "ﾔﾏﾀﾞ", "ﾀﾛｳ"});
        PutRunner(2, 1, {"佐藤", "一郎", "ｻﾄｳ", "ｲﾁﾛｳ"});
        PutRunner(2, 2, {"高橋", "三郎", "", ""});
        PutRunner(3, 1, {"田中", "四郎", "", ""});
        PutRunner(3, 2, {"伊藤", "五郎", "", ""});
        Leg(1, {{2, 1520}, {1, 1545}, {3, 1610}});
        Leg(2, {{1, 3440}, {2, 3455}, {3, 3600}});
        ASSERT_TRUE(SaveTaikaiFields(false));
    }

    // The result action on F1: the overall view (0) or the view of leg k.
    void ShowF1(int view = 0) {
        dialogs.AnswerModal([view](FormBase& f) {
            auto& d = static_cast<TKukanParamForm&>(f);
            d.KukanListBox.SetItemIndex(view);
            d.KukanListBoxClick();
            d.OKBtn.Execute();
            return f.ModalResultValue();
        });
        form().OutputResultExecute();
    }

    // Every file of the race folder but its tables, which each computation rebuilds.
    std::map<std::string, std::string> Published() {
        std::map<std::string, std::string> files;
        for (const auto& e : std::filesystem::recursive_directory_iterator(form().DataFolder)) {
            const std::string name = e.path().filename().string();
            if (!e.is_regular_file() || EndsWith(name, ".db") || EndsWith(name, "-journal")) continue;
            ReadFileBytes(e.path(), files[e.path().string()]);
        }
        return files;
    }

    // A text file the outputs wrote, as its lines; a line without its CR shows "<LF>".
    std::vector<std::string> FileLines(const std::filesystem::path& file) {
        std::string bytes;
        if (!ReadFileBytes(file, bytes)) return {"<missing>"};
        std::vector<std::string> lines;
        size_t from = 0;
        for (size_t at; (at = bytes.find('\n', from)) != std::string::npos; from = at + 1) {
            const bool crlf = at > from && bytes[at - 1] == '\r';
            lines.push_back(FromSjis(bytes.substr(from, at - from - (crlf ? 1 : 0))) + (crlf ? "" : "<LF>"));
        }
        if (from != bytes.size()) lines.push_back(FromSjis(bytes.substr(from)) + "<no line end>");
        return lines;
    }

    void LegInfo(int leg, const std::string& goal, const std::string& km, const std::string& record) {
        StringGrid& g = form().KukanInfGrid;
        g.SetCells(1, leg, goal);
        g.SetCells(2, leg, km);
        g.SetCells(3, leg, record);
    }
    void TeamRow(int team, const std::string& name, const std::string& last) {
        StringGrid& g = form().TeamEntryGrid;
        g.SetCells(1, team, name);
        g.SetCells(6, team, last);
    }
    // Slot 0 is the manager, 1..legs the legs, then the substitutes.
    void PutRunner(int team, int slot, const Runner& r, int age = 0, int remark = 0) {
        OpenRunnerTable();
        RaceDb().Exec("INSERT OR REPLACE INTO " + RunnerTableName(form().TaikaiNo) +
                          " VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7)",
                      {Value(team * 100 + slot), Value(r.sei), Value(r.mei), Value(r.seiKana),
                       Value(r.meiKana), Value(age), Value(remark)});
    }
};
