// Times the workbooks and printed reports of a 200-team, 50-leg race with 20
// substitutes: the overall view's workbook and report, the Excel start list, the
// order sheet and its work table, each the median of five runs. The files stay in
// build/bench_workbook_report.race/.
#include "bench/BenchRace.h"
#include "database/EntryTables.h"
#include "database/RaceFile.h"
#include "database/ReportTables.h"
#include "database/TDataMdl.h"
#include "gui/AppFont.h"
#include "gui/ReportPainter.h"
#include "mainwindow/Program.h"
#include "mainwindow/TFormKuriage.h"
#include "mainwindow/TMainForm.h"
#include "output/TOutputForm.h"
#include "platform/Text.h"
#include "support/HeadlessProgram.h"

#include <QApplication>

#include <clocale>
#include <cstdio>
#include <functional>

namespace {

constexpr int kTeams = 200, kLegs = 50, kSubs = 20;

// Every preview goes to a PDF file of the bench folder.
struct PdfReports : QtReportService {
    std::string path;
    void Preview(Report& r) override {
        const std::string error = ExportPdf(r, path);
        if (!error.empty()) std::fprintf(stderr, "%s\n", error.c_str());
    }
};

void setUpRace(TMainForm& f, const std::filesystem::path& folder) {
    BenchRace::OpenEmptyRace(f, folder, kLegs, kSubs, kTeams);
    f.ReceName.SetText("ベンチ駅伝");
    f.OrgName.SetText("主催：ベンチ協会");
    f.taikaiBestGrid.SetCells(1, 1, "2024/01/14");
    f.taikaiBestGrid.SetCells(2, 1, "スタート");
    OpenRunnerTable();
    Transaction tx(RaceDb());
    for (int t = 1; t <= kTeams; ++t) {
        EnsureTeamRunnerRecords(t);
        f.TeamEntryGrid.SetCells(1, t, Format("チーム%d", t));
        for (int slot = 0; slot <= kLegs + kSubs; ++slot)
            RaceDb().Exec("INSERT OR REPLACE INTO " + RunnerTableName(1) +
                              " VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7)",
                          {Value(t * 100 + slot), Value("選手"), Value(Format("%d郎", slot)), Value("ｾﾝｼｭ"),
                           Value(Format("%dﾛｳ", slot)), Value(0), Value(0)});
    }
    tx.Commit();
    for (int k = 1; k <= kLegs; ++k) {
        f.KukanInfGrid.SetCells(1, k, Format("中継所%d", k));
        f.KukanInfGrid.SetCells(2, k, "5.5");
        for (int t = 1; t <= kTeams; ++t) {
            const int seconds = k * 1000 + t * 3;
            f.InputGrid.SetCells(2 * k - 1, t + 1, IntToStr(t));
            f.InputGrid.SetCells(2 * k, t + 1, IntToStr(f.SecondsToDigits(seconds)));
        }
    }
}

constexpr int kRuns = 5;

// Runs the output with its answers queued, the file written afresh each time.
std::string writes(const std::string& path, const std::function<void()>& output) {
    std::filesystem::remove(path);
    output();
    return std::filesystem::exists(path) ? "" : path + " was not written";
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    UseJapaneseFont();
    HeadlessProgram bench;
    PdfReports reports;
    CurrentServices().reports = &reports;
    const std::filesystem::path dir =
        std::filesystem::absolute(argv[0]).parent_path() / "bench_workbook_report.race";
    TMainForm& f = *MainForm;
    setUpRace(f, dir);
    TOutputForm& out = *OutputForm;
    out.Tag = 0;
    out.ShowResults();
    auto file = [&](const char* name) { return (dir / name).string(); };

    using BenchRace::PrintMedianOf;
    bool ok = PrintMedianOf("result.xlsx", kRuns, [&] {
        return writes(file("result.xlsx"), [&] {
            bench.dialogs.AnswerDlg(mrNo);  // readings
            bench.dialogs.AnswerDlg(mrYes); // to Excel
            bench.dialogs.AnswerFile(file("result.xlsx"));
            out.PutToExcelExecute();
        });
    });
    reports.path = file("report.pdf");
    ok = ok && PrintMedianOf("report.pdf", kRuns,
                             [&] { return writes(reports.path, [&] { out.OpenResultRepExecute(); }); });
    ok = ok && PrintMedianOf("startlist.xlsx", kRuns, [&] {
             return writes(file("startlist.xlsx"), [&] {
                 for (int a : {mrNo, mrYes, mrNo, mrNo, mrYes, mrYes})
                     bench.dialogs.AnswerDlg(a);
                 bench.dialogs.AnswerFile(file("startlist.xlsx"));
                 f.StartListExecute(1);
             });
         });
    reports.path = file("ordersheet.pdf");
    ok = ok && PrintMedianOf("ordersheet.pdf", kRuns,
                             [&] { return writes(reports.path, [&] { f.StartListExecute(0); }); });
    ok = ok && PrintMedianOf("order sheet", kRuns, [] {
             return BuildOrderSheetTable() == 0 ? "" : "the work table was not built";
         });
    for (const std::string& t : bench.dialogs.Texts())
        if (t.find("作成されました") == std::string::npos && t.find("？") == std::string::npos)
            std::fprintf(stderr, "notice: %s\n", t.c_str());
    return ok ? 0 : 1;
}
