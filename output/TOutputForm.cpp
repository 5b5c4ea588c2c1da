// The result output window: its tool bar and menu, the computation run when the
// result action shows it, and the standard batch of outputs.
#include "output/TOutputForm.h"

#include "database/Ranking.h"
#include "database/RankingQueries.h"
#include "database/ResultTable.h"
#include "mainwindow/Program.h"
#include "mainwindow/TMainForm.h"
#include "platform/Services.h"
#include "platform/Text.h"

namespace {

constexpr const char* kDefaultFont = "ＭＳ Ｐゴシック";
constexpr const char* kNoResults = "成績が計算されていないので出力できません。";
constexpr const char* kStaleQuestion =
    "成績の表示後に入力データが変更されています。\n再計算してから出力しますか ?";
constexpr const char* kStaleTitle = "  (入力変更後 未再計算)";
constexpr const char* kStaleStatus = "入力データが変更されました。出力の前に再計算します。";

} // namespace

TOutputForm::TOutputForm() : FormBase("TOutputForm") {
    SetCaption("結果出力");
    ResultTTL.SetColor(kTitleYellow);
    for (StringGrid* g : {&OutputTTLGrid, &OutputGrid, &tmpDBGrid, &tempGrid}) {
        g->SetVisible(false);
        g->SetEditing(false);
    }
    for (StringGrid* g : {&OutputTTLGrid, &OutputGrid})
        g->SetRowSelect(true);
    buildToolBar();
    wireActions();
    // A change of what the view was computed from shows at once in the title and status bar.
    MainForm->InputsChanged.connect([this] {
        if (ViewStale()) markStale(true);
    });
}

void TOutputForm::buildToolBar() {
    OpenResultRep.SetHint("レポート出力");
    UpDownBtn.SetHint("チーム順、個人順切り替え");
    UpDownBtn.SetImageIndex(kTeamOrderImage);
    PutToExcel.SetHint("エクセル出力");
    ActionClipCopy.SetEnabled(false);
    TeamResultExcel.SetHint("ﾁｰﾑﾀｲﾑをｸﾘｯﾌﾟﾎﾞｰﾄﾞへ");
    PutToWeb.SetHint("HTMLファイルの出力");
    Macro.SetHint("標準操作一括処理");
    PutToDenko.SetHint("電光出力");
    OpenPrintParam.SetEnabled(false);
    ToolButton2.SetHint("戻る");
    // N1 .. N4, N6, N7; the gap at N5 is the separator.
    PopupMenu1 = {"PopupMenu1",
                  {&OpenPrintParam, &TopRunnersList, &TopTeamPrize, &PutKojinPrize, nullptr, &N6, &N7}};
    ToolBar = {{"ToolButton1", &OpenResultRep},
               {"UpDownBtn", &UpDownBtn},
               {"ToolButton4", &PutToExcel},
               {"ToolButtonClipCopy", &ActionClipCopy},
               {"ToolButton5", &TeamResultExcel},
               {"ToolButton6", &PutToWeb},
               {"ToolButton8", &Macro},
               {"ToolButton10", &PutToDenko},
               {"ToolButton11", &PutKojinPrize, &PopupMenu1},
               {"ToolButton2", &ToolButton2}};
}

void TOutputForm::wireActions() {
    OpenResultRep.OnExecute = withResults(OpenResultRep, [this] { OpenResultRepExecute(); });
    UpDownBtn.OnExecute = withResults(UpDownBtn, [this] { UpDownBtnClick(); });
    PutToExcel.OnExecute = withResults(PutToExcel, [this] { PutToExcelExecute(); });
    ActionClipCopy.OnExecute = withResults(ActionClipCopy, [this] { ActionClipCopyExecute(); });
    TeamResultExcel.OnExecute = withResults(TeamResultExcel, [this] { TeamResultExcelExecute(); });
    PutToWeb.OnExecute = withResults(PutToWeb, [this] { PutToWebExecute(); });
    Macro.OnExecute = withResults(Macro, [this] { MacroExecute(); });
    PutToDenko.OnExecute = withResults(PutToDenko, [this] { PutToDenkoExecute(); });
    PutKojinPrize.OnExecute = withResults(PutKojinPrize, [this] { PutKojinPrizeExecute(); });
    OpenPrintParam.OnExecute = [this] { OpenPrintParamExecute(); };
    TopRunnersList.OnExecute = withResults(TopRunnersList, [this] { TopRunnersListExecute(); });
    TopTeamPrize.OnExecute = withResults(TopTeamPrize, [this] { TopTeamPrizeExecute(); });
    N6.OnExecute = withResults(N6, [this] { N6Click(); });
    N7.OnExecute = withResults(N7, [this] { N7Click(); });
    ToolButton2.OnExecute = [this] { ToolButton2Click(); };
}

std::function<void()> TOutputForm::withResults(Action& command, std::function<void()> run) {
    return [this, &command, run = std::move(run)] {
        if (!ResultsShown) {
            Dlg().ShowMessage(kNoResults);
            return;
        }
        if (ViewStale() && !recomputeStaleView()) return;
        if (command.Enabled()) run();
    };
}

bool TOutputForm::ViewStale() const {
    return ResultsShown && MainForm->InputRevision() != shownRevision_;
}

// The showing of the same leg, class and order again, without the chooser and without
// the question about keeping the work table: the desk asked for new results.
bool TOutputForm::recomputeStaleView() {
    if (Tag > MainForm->KukanNum) {
        Dlg().ShowMessage(Format("第 %d 区はもうありません。結果出力から選び直して下さい。", Tag));
        return false;
    }
    if (Dlg().MessageDlg(kStaleQuestion, MsgKind::Confirmation, Btn::YesNo) != mrYes) return false;
    const bool runnerOrder = OrderMode == 1;
    DeleteTempTable();
    FormShow();
    if (ResultsShown && runnerOrder && UpDownBtn.Enabled()) UpDownBtnClick();
    return ResultsShown && !ViewStale();
}

void TOutputForm::markStale(bool stale) {
    if (stale == staleMarked_) return;
    staleMarked_ = stale;
    std::string title = Caption();
    if (EndsWith(title, kStaleTitle)) title.resize(title.size() - std::string(kStaleTitle).size());
    SetCaption(stale ? title + kStaleTitle : title);
    StatusBar1.SetPanel(1, stale ? kStaleStatus : "");
}

void TOutputForm::ShowResults() {
    Show();
    FormShow();
}

// The view remembers what it was computed from once the computation's own writes are done.
void TOutputForm::FormShow() {
    markStale(false);
    computeAndShowView();
    shownRevision_ = MainForm->InputRevision();
}

void TOutputForm::computeAndShowView() {
    TMainForm& f = *MainForm;
    const std::string filter = f.GetClassFilter();
    StatusBar1.SetPanel(0, filter.empty() ? std::string() : filter + "クラスでフィルター中です。");
    if (Trim(PrizeSettings.fontName).empty()) PrizeSettings.fontName = kDefaultFont;
    BatchMode = false;
    BatchMessages.clear();
    WaitCursor wait(Dlg());
    TeamResultExcel.SetEnabled(Tag == 0);
    OrderMode = 0;
    const int legs = Tag != 0 ? Tag : f.KukanNum;
    // A view of an earlier showing never stands beside the results of this one, nor do
    // the commands that only final overall results allow.
    hideViews();
    ResultsShown = false;
    for (Action* a : {&TopRunnersList, &TopTeamPrize, static_cast<Action*>(&UpDownBtn)})
        a->SetEnabled(false);
    if (computeResults(legs) != 0) return;
    tmpDBGrid.SetVisible(false);
    // The view and the prize data read each leg's rankings and the runners once.
    OutputReads reads;
    showView();
    if (!ResultsShown) return;
    if (f.ResultFinal) writePrizeData(legs);
    PutKojinPrize.SetEnabled(true);
    const bool prizes = f.ResultFinal && Tag == 0;
    TopRunnersList.SetEnabled(prizes);
    TopTeamPrize.SetEnabled(prizes);
}

void TOutputForm::hideViews() {
    for (StringGrid* g : {&OutputTTLGrid, &OutputGrid, &tmpDBGrid})
        g->SetVisible(false);
}

// A kept work table is still ranked from the current input, after LoadPassingData checked it.
int TOutputForm::computeResults(int legs) {
    TMainForm& f = *MainForm;
    DropOutputReads();
    int r = BuildResultTable(legs);
    if (r != 1) r = LoadPassingData(legs);
    if (r == 1) {
        Dlg().ShowMessage("データにエラーがあります。処理を中止しました。");
        ShowWorkTable();
        tmpDBGrid.SetVisible(true);
        return 1;
    }
    f.HasNoRecordRunner = f.DetectNoRecordRunner(legs);
    RankLegTimes(legs);
    RankAdjustedLegs(legs);
    RankedTeamCount = CountRankedTeams();
    if (RankedTeamCount < 1) {
        Dlg().ShowMessage("出場チームなし");
        return 2;
    }
    return 0;
}

void TOutputForm::showView() {
    if (Tag == 0) {
        SetCaption("結果出力");
        ActionClipCopy.SetEnabled(true);
        UpDownBtn.SetEnabled(false);
        OutputTTLGrid.SetVisible(true);
        OutputGrid.SetVisible(false);
        ShowTotalResult(OutputTTLGrid);
        return;
    }
    ActionClipCopy.SetEnabled(false);
    UpDownBtn.SetImageIndex(kTeamOrderImage);
    OrderMode = 0;
    OutputTTLGrid.SetVisible(false);
    OutputGrid.SetVisible(true);
    ShowLegResult();
    FocusedControl = OutputGrid.Name();
}

// The leg lines of every leg shown, and the overall lines once the view reaches the finish.
void TOutputForm::writePrizeData(int legs) {
    if (!BeginPrizeResult()) return;
    for (int k = 1; k <= legs; ++k)
        AddPrizeResultLeg(k);
    if (legs == MainForm->KukanNum) BuildResultLines(PrizeCsvText);
    WritePrizeResultCsv();
}

void TOutputForm::MacroExecute() {
    TMainForm& f = *MainForm;
    if (!Trim(f.GetClassFilter()).empty()) {
        Dlg().ShowMessage("ｸﾗｽﾌｨﾙﾀｰが掛っているので一括処理はできません。");
        return;
    }
    PutSheetHtml();
    BatchMessages.clear();
    BatchMode = true;
    // Every way out of the batch ends it, or each output after it would stay silent, and
    // drops its notices, shown at its end, or the next output would repeat them.
    struct EndBatch {
        bool& mode;
        std::string& messages;
        ~EndBatch() {
            mode = false;
            messages.clear();
        }
    } endBatch{BatchMode, BatchMessages};
    WaitCursor wait(Dlg());
    PutToWebExecute();
    if (Tag != 0) {
        // The leg pages are written in both orders.
        UpDownBtnClick();
        PutToWebExecute();
        UpDownBtnClick();
        Dlg().ShowMessage("一括処理終了!");
    }
    PutToExcelExecute(); // shows the batch's notices
    OfferMacroWorkbook();
    if (f.closeAutoRecForm) Close();
}
