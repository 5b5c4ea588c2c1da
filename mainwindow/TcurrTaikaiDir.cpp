#include "mainwindow/TcurrTaikaiDir.h"

#include "mainwindow/Program.h"
#include "mainwindow/TMainForm.h"
#include "platform/Files.h"

TcurrTaikaiDir::TcurrTaikaiDir() : FormBase("TcurrTaikaiDir") {
    SetCaption("既存の大会情報フォルダー");
    OKBtn.OnExecute = [this] { OKBtnClick(); };
    CancelBtn.OnExecute = [this] { SetModalResult(mrCancel); };
}

void TcurrTaikaiDir::FormActivate() {
    TaikaiLbl.SetCaption("tvnDataフォルダの下フォルダが既存の大会フォルダです。新しいフォルダ名を入力してOKボタンを押して下さい");
    ShownFolder = MainForm->DataFolder.string();
    Folders = ListSubdirs(MainForm->DataFolder);
    Changed();
}

void TcurrTaikaiDir::OKBtnClick() {
    MainForm->NewTaikaiDir = TaikaiEdit.Text();
    SetModalResult(mrOk);
}

// The list only shows the races; it never navigates.
void TcurrTaikaiDir::currDirBoxMouseDown() {
    ShownFolder = MainForm->DataFolder.string();
    Changed();
}
