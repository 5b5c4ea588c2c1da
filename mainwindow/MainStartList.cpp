// The start lists of the entry page: the real-time team and runner list
// "members.csv", the Excel start list and the printed order sheet, all from
// StartListExecute over the order-sheet work table and the same head lines.
#include "database/RankingQueries.h"
#include "database/ReportTables.h"
#include "mainwindow/Program.h"
#include "mainwindow/TMainForm.h"
#include "output/TOutputForm.h"
#include "output/RecordMarks.h"
#include "output/TQuickReport4.h"
#include "output/TextFile.h"
#include "platform/Dates.h"
#include "platform/Services.h"
#include "platform/TableEngine.h"
#include "platform/Text.h"

namespace {

constexpr int kClassCount = 10; // classes A .. J

int ask(const std::string& text, int buttons) {
    return Dlg().MessageDlg(text, MsgKind::Confirmation, buttons);
}

std::string legDistance(const TMainForm& f, int k, const char* metresFormat, const char* kmFormat) {
    const double km = StrToFloatDef(f.KukanInfGrid.Cells(2, k), 0);
    return f.chk100.Checked() ? Format(metresFormat, KmToMetres(static_cast<float>(km)))
                              : Format(kmFormat, km);
}

std::string legLine(const TMainForm& f, int k) {
    const StringGrid& g = f.KukanInfGrid;
    std::string record = f.TimeToDisplayText(g.Cells(3, k));
    if (!record.empty()) record = " " + record;
    const std::string from = k == 1 ? f.taikaiBestGrid.Cells(2, 1) : g.Cells(1, k - 1);
    const std::string distance = legDistance(f, k, "%dm", "%gkm");
    return Format("第%d区(", k) + distance + record + ") " + from + " ～ " + g.Cells(1, k) + " ";
}

std::string totalLine(const TMainForm& f) {
    int metres = 0;
    double km = 0;
    for (int k = 1; k <= f.KukanNum; ++k) {
        const double d = StrToFloatDef(f.KukanInfGrid.Cells(2, k), 0);
        metres += KmToMetres(static_cast<float>(d));
        km += d;
    }
    const std::string record = f.TimeToDisplayText(f.taikaiBestGrid.Cells(3, 1));
    return (f.chk100.Checked() ? Format("総距離 %dm", metres) : Format("総距離 %gkm", km)) + "(" + record +
           ")";
}

// A field holding a comma, a double quote or a line end is quoted, its quotes doubled
// (RFC 4180), so a name never adds a column; other fields stay as they are.
std::string csvField(const std::string& s) {
    if (s.find_first_of(",\"\r\n") == std::string::npos) return s;
    return "\"" + ReplaceAll(s, "\"", "\"\"") + "\"";
}

// The number shown for a team: its alias when that is above its number card.
int membersNumber(const TMainForm& f, int team) {
    const int alias = StrToIntDef(f.TeamEntryGrid.Cells(3, team), 0);
    return alias > team ? alias : team;
}

} // namespace

void TMainForm::wireStartListHandlers() {
    OpenExcelMacro.SetHint("ｴｸｾﾙ印刷用ﾏｸﾛ起動");
    StartListPrev.SetHint("ｵｰﾀﾞｰ用紙ﾚﾎﾟｰﾄ出力");
    StartListExcel.SetHint("ｽﾀｰﾄﾘｽﾄｴｸｾﾙ出力");
    StartListPrev.OnExecute = [this] { StartListExecute(0); };
    StartListExcel.OnExecute = [this] { StartListExecute(1); };
}

std::string TMainForm::RaceDateLine() const {
    const Date d = StrToDate(Trim(taikaiBestGrid.Cells(1, 1)));
    return Format("とき:%d年%d月%d日", d.Year, d.Month, d.Day);
}

std::vector<std::string> TMainForm::StartListHeadLines(bool withLegs) {
    std::vector<std::string> lines = OrgName.Lines();
    lines.push_back(RaceDateLine());
    if (!withLegs) return lines;
    for (int k = 1; k <= KukanNum; ++k)
        lines.push_back(legLine(*this, k));
    lines.push_back(totalLine(*this));
    return lines;
}

void TMainForm::StartListExecute(int tag) {
    OutputReads reads; // members.csv, the work table and the sheet read the runners once
    if (tag == 1) {
        const int answer = ask("リアルタイム用スタートリストを出力しますか？", Btn::YesNoCancel);
        if (answer == mrCancel) return;
        if (answer == mrYes) WriteMembersCsv();
        if (ask("引き続きエクセル用スタートリストを出力しますか？", Btn::YesNo) != mrYes) return;
    }
    int built = 1;
    try {
        built = BuildOrderSheetTable();
    } catch (const DbError&) {
        built = 1;
    }
    if (built != 0) {
        Dlg().ShowMessage("レポート用テーブルの作成に失敗しました。");
        return;
    }
    if (tag == 1) return PutToExcel(StartListHeadLines(true));
    QuickReport4->Preview(StartListHeadLines(false));
}

void TMainForm::WriteMembersCsv() {
    const int split = CheckSplitCounts();
    if (split == 2) {
        Dlg().ShowMessage("ｽﾌﾟﾘｯﾄの入力値に誤りがあります。");
        return;
    }
    const bool confirmed = ask("オーダー決定ですか？", Btn::YesNo) == mrYes;
    std::string text;
    if (split == 1) {
        text = ",split,";
        for (int k = 1; k <= KukanNum; ++k)
            text += Format("%d,", StrToIntDef(KukanInfGrid.Cells(4, k), 0));
        text += "\n";
    }
    text += confirmed ? ",distance," : ",distance_,";
    for (int k = 1; k <= KukanNum; ++k)
        text += legDistance(*this, k, "%dm,", "%gkm,");
    text += "\n";
    const bool classes = AllTeamsHaveClass();
    for (int t = 1; t <= TeamNum; ++t) {
        if (TeamOpValue(t) == 2) continue;
        const int alias = StrToIntDef(TeamEntryGrid.Cells(3, t), 0);
        if (alias >= 1 && alias <= TeamNum) {
            Dlg().ShowMessage(
                Format("ｴﾘｱｽ番号(%d)は参加チーム数(%d)より大きくなければなりません。", alias, TeamNum));
            return;
        }
        const std::string name = TeamFieldText(t, 0);
        text += IntToStr(membersNumber(*this, t)) + "," +
                csvField(classes ? "[" + TeamFieldText(t, 2) + "]" + name : name);
        for (int k = 1; k <= KukanNum; ++k)
            text += "," + csvField(RunnerNameText(t, k, 5));
        text += "\n";
    }
    if (classes) {
        const std::string* names = OutputForm->PrizeSettings.ClassAlias; // as the prize settings keep them
        for (int i = 0; i < kClassCount; ++i)
            if (!Trim(names[i]).empty())
                text += std::string(1, static_cast<char>('A' + i)) + "," + csvField(names[i]) + "\n";
    }
    MakeHtmlFolder();
    const std::filesystem::path path = HtmlCsvFolder() / "members.csv";
    if (WriteTextFile(path, text))
        Dlg().ShowMessage(path.string() + "を作成しました。");
    else
        Dlg().ShowMessage(path.string() + "の作成に失敗しました。");
}

void TMainForm::PutToExcel(const std::vector<std::string>& headLines) {
    const bool kana =
        (HasKanaData(false) || HasKanaData(true)) && ask("ﾌﾘｶﾞﾅが必要ですか？", Btn::YesNo) == mrYes;
    const bool coach = ask("監督カラムは必要ないですね？", Btn::YesNo) != mrYes;
    const int nameMode = ask("漢字名の体裁が必要ですか？", Btn::YesNo) == mrYes ? 0 : 1;
    std::string text = ReceName.Text() + "\n";
    for (const std::string& line : headLines)
        text += line + "\n";
    text += HasOpTeam() ? "ﾅﾝﾊﾞｰ\tチーム名(※印はｵｰﾌﾟﾝ参加)\t" : "ﾅﾝﾊﾞｰ\tチーム名\t";
    if (coach) text += "監督名\t";
    for (int k = 1; k <= KukanNum; ++k)
        text += Format("第%d区\t", k);
    for (int s = 1; s <= HoketuNum; ++s)
        text += "補欠\t";
    text += "\n";
    const int firstSlot = coach ? 0 : 1;
    for (const std::vector<std::string>& rec : LoadReportTable().Records) {
        const int team = FindTeamRowByAlias(StrToIntDef(rec.at(0), 0));
        if (team == -1) return;
        if (kana) {
            text += "\t" + TeamFieldText(team, 1) + "\t";
            for (int slot = firstSlot; slot <= KukanNum + HoketuNum; ++slot)
                text += RunnerKanaName(team, slot, 0) + "\t";
            text += "\n";
        }
        text += Trim(rec.at(0)) + "\t" + Trim(rec.at(1)) + "\t";
        for (int slot = firstSlot; slot <= KukanNum + HoketuNum; ++slot)
            text += RunnerNameText(team, slot, nameMode) + "\t";
        text += "\n";
    }
    Clip().SetText(text);
    if (ask("クリップボードにコピーしました。\nExcel に出力しますか？", Btn::YesNo) != mrYes) {
        OfferMacroBook();
        return;
    }
    SaveTextAsWorkbook(text);
}
