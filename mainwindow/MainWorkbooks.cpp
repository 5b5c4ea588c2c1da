// The workbooks of the main window: the print macro workbook (probed, offered once a
// run, opened with its program) and the road on which every Excel output saves its
// tab text as a workbook the user names.
#include "mainwindow/Program.h"
#include "mainwindow/TMainForm.h"
#include "output/TOutputForm.h"
#include "platform/Files.h"
#include "platform/Services.h"
#include "platform/Workbook.h"

namespace {

constexpr const char* kOpenMacroQuestion = "印刷用ｴｸｾﾙﾏｸﾛﾌﾞｯｸを開きますか？";

// A desktop without a program for the file opens nothing: the user is told.
bool openOnDesktop(const std::string& path) {
    if (ShellSvc().OpenDocument(path)) return true;
    Dlg().ShowMessage(path + "\nを開けませんでした。");
    return false;
}

bool askYes(const std::string& text) {
    return Dlg().MessageDlg(text, MsgKind::Confirmation, Btn::YesNo) == mrYes;
}

} // namespace

int TMainForm::OpenExcelMacroBook(const std::string& path, int mode, bool messages) {
    const std::filesystem::path p(path);
    if (!FileExists(p)) {
        if (messages) Dlg().ShowMessage(path + "\nが見つかりません");
        return 2;
    }
    if (HeldOpenElsewhere(p)) {
        if (messages) Dlg().ShowMessage("すでにｵｰﾌﾟﾝされています。");
        return 1;
    }
    if (mode == 0) return openOnDesktop(path) ? 1 : 0;
    return mode == 1 ? 0 : -1;
}

bool TMainForm::OfferMacroBook() {
    if (MacroBookDeclined) return false;
    const std::string path = (program().ProgramFolder() / exExcelMacroName).string();
    if (!FileExists(path) || OpenExcelMacroBook(path, 1, false) != 0) return false;
    if (!askYes(kOpenMacroQuestion)) {
        MacroBookDeclined = true;
        return false;
    }
    return OpenExcelMacroBook(path, 0, false) == 1;
}

void TMainForm::OpenExcelMacroExecute() {
    const std::string path = (program().ProgramFolder() / exExcelMacroName).string();
    if (OpenExcelMacroBook(path, 1, true) != 0) return;
    if (askYes(kOpenMacroQuestion)) OpenExcelMacroBook(path, 0, true);
}

void TMainForm::SaveTextAsWorkbook(const std::string& tabText) {
    FileDialogRequest& dialogSpec = OutputForm->SaveDialog1;
    dialogSpec.Filter = "Excelファイル|*.xlsx";
    dialogSpec.FileName = "untitled";
    const std::optional<std::string> chosen = Dlg().SaveFile(dialogSpec);
    if (!chosen) return;
    const std::string name = WorkbookFileName(*chosen);
    if (OpenExcelMacroBook(name, 1, false) == 1) {
        Dlg().ShowMessage("そのﾌｧｲﾙはオープンされています。保存できませんでした。");
        return;
    }
    Clip().SetText(tabText);
    const std::string error = WriteWorkbook(name, tabText);
    if (!error.empty()) {
        Dlg().ShowMessage(name + "\n" + error);
        return;
    }
    Dlg().ShowMessage(name + "\nが作成されました。");
    if (OfferMacroBook() && OpenExcelMacroBook(name, 1, false) == 0) openOnDesktop(name);
}
