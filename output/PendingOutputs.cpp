// Outputs of the result window that are not built yet. Each keeps its name and its
// place in the window, so the tool bar, the menu, the batch and the prize data steps
// already run in their final order; each does nothing until it is built.
#include "output/TOutputForm.h"

void TOutputForm::OpenResultRepExecute() {}
void TOutputForm::PutToExcelExecute() {}
void TOutputForm::CopyResultToClipboard() {}
void TOutputForm::CopyTeamResultText(int) {}
void TOutputForm::PutToWebExecute() {}
void TOutputForm::PutSheetHtml() {}
void TOutputForm::PutToDenkoExecute() {}
void TOutputForm::PutKojinPrizeExecute() {}
void TOutputForm::OpenPrintParamExecute() {}
void TOutputForm::TopRunnersListExecute() {}
void TOutputForm::TopTeamPrizeExecute() {}
void TOutputForm::OfferMacroWorkbook() {}

// The prize data file: the text is started afresh for every showing; nothing is written yet.
void TOutputForm::BeginPrizeResult() {
    PrizeCsvText.clear();
}
void TOutputForm::AddPrizeResultLeg(int) {}
void TOutputForm::WritePrizeResultCsv() {}
