// Outputs of the result window that are not built yet. Each keeps its name and its
// place in the window, so the tool bar, the menu, the batch and the prize data steps
// already run in their final order; until it is built each only says so, so the desk
// never takes a silent button for a written file.
#include "output/TOutputForm.h"
#include "platform/Services.h"

namespace {

void notBuilt(TOutputForm& w, const std::string& what) {
    const std::string text = what + "はまだ使えません。";
    if (w.BatchMode) w.BatchMessages += text + "\n";
    else Dlg().ShowMessage(text);
}

} // namespace

void TOutputForm::OpenResultRepExecute() { notBuilt(*this, "レポート出力"); }
void TOutputForm::PutToExcelExecute() { notBuilt(*this, "Excel出力"); }
void TOutputForm::CopyResultToClipboard() { notBuilt(*this, "クリップボード出力"); }
void TOutputForm::CopyTeamResultText(int) { notBuilt(*this, "クリップボード出力"); }
void TOutputForm::PutToDenkoExecute() { notBuilt(*this, "電光出力"); }
void TOutputForm::PutKojinPrizeExecute() { notBuilt(*this, "個人賞状"); }
void TOutputForm::OpenPrintParamExecute() { notBuilt(*this, "賞パラメータ"); }
void TOutputForm::TopRunnersListExecute() { notBuilt(*this, "表彰対象リスト"); }
void TOutputForm::TopTeamPrizeExecute() { notBuilt(*this, "チーム賞状"); }
void TOutputForm::OfferMacroWorkbook() {}

// The prize data file: the text is started afresh for every showing; nothing is written yet.
void TOutputForm::BeginPrizeResult() {
    PrizeCsvText.clear();
}
void TOutputForm::AddPrizeResultLeg(int) {}
void TOutputForm::WritePrizeResultCsv() {}
