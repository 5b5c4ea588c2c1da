#include "mainwindow/TFormEnv.h"

#include "mainwindow/Program.h"
#include "mainwindow/TMainForm.h"
#include "platform/Services.h"
#include "platform/Text.h"

#include <filesystem>

TFormEnv::TFormEnv() : FormBase("TFormEnv") {
    SetCaption("環境設定");
    Label1.SetCaption("電光ﾌｧｲﾙの格納場所");
    Label2.SetCaption("電光ﾌｧｲﾙ名");
    Label3.SetCaption("ｴｸｾﾙﾏｸﾛﾌｧｲﾙ名");
    Label4.SetCaption("ヘルプのURL");
    CheckDenkoOpt.SetCaption("デフォルトの出力フォルダを使用する。");
    CheckFurigana.SetCaption("ﾌﾘｶﾞﾅｺﾝﾄﾛｰﾙを使用する");
    CheckAutoClose.SetCaption("一括処理後、結果ﾌｫｰﾑを閉じる");
    CheckChgPrt.SetCaption("ﾃﾞﾌｫﾙﾄﾌﾟﾘﾝﾀｰの一時切り替え禁止");
    CheckOleFont.SetCaption("Ole ﾌｫﾝﾄ設定は使用しない");
    for (Edit* e : {&EditLogFilePath, &DenkoFileName, &EMacroFileName, &EHelpURL})
        e->Changed.connect([this] { EditLogFilePathChange(); });
    for (CheckBox* c : {&CheckDenkoOpt, &CheckFurigana, &CheckAutoClose, &CheckChgPrt, &CheckOleFont})
        c->OnClick = [this] { EditLogFilePathChange(); };
    bGetPath.OnExecute = [this] { bGetPathClick(); };
    OKBtn.OnExecute = [this] { CloseWindow(); };
}

void TFormEnv::FormShow() {
    const TMainForm& m = *MainForm;
    EditLogFilePath.SetText(m.exDenkoFilePath);
    DenkoFileName.SetText(m.exDenkoFileName);
    CheckDenkoOpt.SetChecked(m.useDnkoDefault);
    CheckFurigana.SetChecked(m.useFuriganaCTR);
    EMacroFileName.SetText(m.exExcelMacroName);
    EHelpURL.SetText(m.HelpUrl);
    CheckAutoClose.SetChecked(m.closeAutoRecForm);
    CheckChgPrt.SetChecked(m.PRTCHG_NO);
    CheckOleFont.SetChecked(m.NoUseOleFont);
    // Filling the controls ran their change handlers: nothing is edited yet.
    Changed = false;
}

void TFormEnv::EditLogFilePathChange() {
    Changed = true;
}

// The scoreboard folder is chosen by picking a file in it.
void TFormEnv::bGetPathClick() {
    FileDialogRequest request;
    request.Filter = "TXT|*.txt";
    request.InitialDir = EditLogFilePath.Text();
    auto file = Dlg().OpenFile(request);
    if (!file) return;
    std::string folder = std::filesystem::path(*file).parent_path().string();
    if (folder.empty() || folder.back() != '/') folder += '/';
    EditLogFilePath.SetText(folder);
}

namespace {

// A one-line value: line breaks a paste brought in go, and so do the blanks around it.
std::string oneLine(const Edit& e) {
    std::string v;
    for (char ch : e.Text())
        if (ch != '\r' && ch != '\n') v += ch;
    return Trim(v);
}

} // namespace

void TFormEnv::FormClose() {
    if (!Changed) return;
    TMainForm& m = *MainForm;
    // An empty scoreboard folder or name keeps the old one; the rest is still taken.
    const std::string folder = oneLine(EditLogFilePath), file = oneLine(DenkoFileName);
    if (folder.empty())
        Dlg().ShowMessage("空白パス名には設定できませんでした。");
    else
        m.exDenkoFilePath = folder;
    if (file.empty())
        Dlg().ShowMessage("空白ファイル名には設定できませんでした。");
    else
        m.exDenkoFileName = file;
    m.useDnkoDefault = CheckDenkoOpt.Checked();
    m.useFuriganaCTR = CheckFurigana.Checked();
    m.exExcelMacroName = oneLine(EMacroFileName);
    m.HelpUrl = oneLine(EHelpURL);
    m.closeAutoRecForm = CheckAutoClose.Checked();
    m.PRTCHG_NO = CheckChgPrt.Checked();
    m.NoUseOleFont = CheckOleFont.Checked();
}

void TFormEnv::CloseWindow() {
    FormClose();
    Close();
    SetModalResult(mrOk);
}
