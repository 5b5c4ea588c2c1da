#include "database/PassingInput.h"

#include "database/EntryTables.h"
#include "database/RaceFile.h"
#include "database/TDataMdl.h"
#include "database/TeamNumbers.h"
#include "mainwindow/Program.h"
#include "mainwindow/TMainForm.h"
#include "output/TOutputForm.h"
#include "platform/Services.h"
#include "platform/TableEngine.h"
#include "platform/Text.h"

#include <algorithm>

namespace {

constexpr int kMaxTypedNumber = 999; // numbers as typed: cards and aliases

// Trim(text).empty() without building the trimmed text: read for every cell of the input.
bool isBlank(const std::string& text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) <= ' '; });
}

} // namespace

void WaitingTimes::Load() {
    sums_.assign(kMaxTypedNumber + 1, {});
    Database& db = RaceDb();
    const std::string table = DelayTableName(MainForm->TaikaiNo);
    if (!db.TableExists(table)) return;
    Query q = db.Prepare("SELECT Kukan_Team, DTIME FROM " + table);
    while (q.Step()) {
        const int key = q.Column(0).AsInteger();
        if (key < 1000) continue; // no leg 0
        const int leg = key / 1000, number = WaitingNumber(key, leg);
        auto& legs = sums_[number];
        if (static_cast<int>(legs.size()) <= leg) legs.resize(leg + 1);
        legs[leg] += MainForm->TimeDigitsToSeconds(q.Column(1).AsInteger());
    }
    q.Reset();
    for (auto& legs : sums_)
        for (size_t k = 1; k < legs.size(); ++k)
            legs[k] += legs[k - 1];
}

int WaitingTimes::Sum(int leg, int number) const {
    if (number < 0 || number >= static_cast<int>(sums_.size()) || leg < 1) return 0;
    const std::vector<int>& legs = sums_[number];
    if (legs.empty()) return 0;
    return legs[std::min<size_t>(leg, legs.size() - 1)];
}

int TMainForm::SumWaitingTime(int leg, int number) {
    WaitingTimes w;
    w.Load();
    return w.Sum(leg, number);
}

// ---- Reading the input grid ----

PassingReader::PassingReader(int legs, bool announcePartial)
    : legs_(legs), announcePartial_(announcePartial), teams_(MainForm->TeamNum), adj_(teams_), total_(teams_),
      order_(teams_), adjSw_(teams_), seenRow_(teams_) {
    waiting_.Load();
}

bool PassingReader::ReadLeg(int k) {
    leg_ = k;
    row_ = 0;
    const int kind = MainForm->GetKuriageKind(k);
    if (kind == 2 && k != legs_) OutputForm->RestartCorrected = true;
    seen_.clear();
    std::fill(seenRow_.begin(), seenRow_.end(), 0);
    for (int r = 1; r <= teams_; ++r) {
        row_ = r;
        if (readRow(k, r, kind) == RowResult::Error) return false;
    }
    return true;
}

PassingReader::RowResult PassingReader::readRow(int k, int r, int kind) {
    const StringGrid& g = MainForm->InputGrid;
    const std::string& numberText = g.Cells(2 * k - 1, r + 1);
    const std::string& timeText = g.Cells(2 * k, r + 1);
    if (isBlank(numberText)) {
        if (r == 1) {
            Dlg().ShowMessage("空データです。");
            return RowResult::Error;
        }
        if (announcePartial_ && MainForm->ResultFinal) Dlg().ShowMessage("途中情報");
        MainForm->ResultFinal = false;
        return RowResult::Skipped;
    }
    if (isBlank(timeText)) {
        Dlg().ShowMessage(Format("通過ﾀｲﾑが空のﾁｰﾑが検出されました。\n%d 行目", r));
        return RowResult::Error;
    }
    const int number = StrToIntDef(numberText, 0);
    const int team = teamOfNumber(k, r, number);
    if (team < 0) return RowResult::Error;

    seenRow_[team] = r;
    seen_.push_back(team);
    const int passing = MainForm->TimeDigitsToSeconds(StrToIntDef(timeText, 0));
    total_[team] = adj_[team] + passing - waiting_.Sum(k, number);
    order_[team] = r;
    // The correction found here enters the totals of the following legs only.
    const int gap = MainForm->KuriageTimeGap(k, passing, kind);
    adj_[team] += gap;
    if (gap > 0) adjSw_[team] = 1;
    return RowResult::Taken;
}

// Team index of the typed number, or -1 after its message.
int PassingReader::teamOfNumber(int k, int r, int number) {
    int team = number - 1;
    if (number > teams_) {
        const int card = ConvertTeamNumber(number, false);
        if (card == -1) {
            Dlg().ShowMessage(Format("ｴﾘｱｽ番号が正しくありません。処理できませんでした。%d 区 %d行", k, r));
            return -1;
        }
        team = card - 1;
    }
    if (team < 0 || team >= teams_) {
        Dlg().ShowMessage(Format("そのﾅﾝﾊﾞｰｶｰﾄﾞはありません。\n%d 区 %d番", k, number));
        return -1;
    }
    if (seenRow_[team] != 0) {
        Dlg().ShowMessage(Format("ﾅﾝﾊﾞｰｶｰﾄﾞが重複しているか\n間違っています。\n%d 区 %d行", k, r));
        return -1;
    }
    return team;
}

void ReportComputationFault(int leg, int row, const std::exception& fault) {
    const char* const stopped = "データにエラーがあります。処理できませんでした。";
    // A table the engine could not read or write: its file and the engine's reason.
    if (dynamic_cast<const DbError*>(&fault)) return Dlg().ShowMessage(std::string(stopped) + "\n" + fault.what());
    Dlg().ShowMessage(stopped + Format("%d 区 %d行", leg, row));
}
