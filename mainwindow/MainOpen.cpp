// Creating a race folder and the open road: lock check, edition dialog, lock file,
// then every table and blob into the grids in a fixed order.
#include "database/EntryTables.h"
#include "database/Editions.h"
#include "database/PassingInput.h"
#include "database/RaceFile.h"
#include "database/ResultTable.h"
#include "database/TDataMdl.h"
#include "mainwindow/PendingParts.h"
#include "mainwindow/Program.h"
#include "mainwindow/TFormKuriage.h"
#include "mainwindow/TMainForm.h"
#include "mainwindow/TSelectDataForm.h"
#include "mainwindow/TcurrTaikaiDir.h"
#include "output/TOutputForm.h"
#include "platform/Files.h"
#include "platform/Services.h"
#include "platform/Text.h"

#include <stdexcept>

namespace {

const char* const kStillOpen = "大会情報が開いたままです。\n一度ｱﾌﾟﾘｹｰｼｮﾝを終了させて下さい。";

// A folder name that stays directly under the data root.
bool validFolderName(const std::string& name) {
    if (name == "." || name == "..") return false;
    for (unsigned char c : name)
        if (c < 0x20 || c == 0x7F || c == '/' || c == '\\') return false;
    return true;
}

} // namespace

void TMainForm::MakeKeyNameExecute() {
    if (TaikaiOpen) {
        Dlg().ShowMessage(kStillOpen);
        return;
    }
    DataFolder = DataRoot();
    NewTaikaiDir.clear();
    currTaikaiDir->TaikaiEdit.SetText("");
    if (Dlg().ShowModal(*currTaikaiDir) != mrOk) return;
    std::string name = Trim(NewTaikaiDir);
    if (name.empty()) return;
    if (!validFolderName(name)) {
        Dlg().ShowMessage("そのフォルダ名は使えません。");
        return;
    }
    NewTaikaiDir = name;
    std::filesystem::path path = DataRoot() / name;
    if (DirectoryExists(path) || FileExists(path)) {
        Dlg().ShowMessage("そのフォルダはすでに存在します。");
    } else {
        if (!CreateDir(path)) throw std::runtime_error(path.string() + " の作成に失敗しました。");
        Dlg().ShowMessage(path.string() + " が作成されました。");
        DataFolder = path;
        TaikaiNo = 1;
        OpenTaikaiTable();
        TaikaiOpen = true;
        SaveTaikaiFields(false);
        TaikaiOpen = false;
        DataMdl->CloseAll();
        TaikaiNo = -1; // the race stays closed: no edition is in use
    }
    StatusBar1.SetPanel(0, DataFolder.string());
}

void TMainForm::OpenKeyNameExecute() {
    if (TaikaiOpen) {
        Dlg().ShowMessage(kStillOpen);
        return;
    }
    if (Dlg().MessageDlg("既存の大会情報を開きますか ?", MsgKind::Confirmation, Btn::YesNo) != mrYes) return;
    FileDialogRequest request;
    request.Filter = "大会情報|大会情報.db";
    request.FileName = lstDBS_Path;
    // The last race is proposed in its own folder; without one the dialog starts at the root.
    const std::filesystem::path last(lstDBS_Path);
    request.InitialDir = !lstDBS_Path.empty() && FileExists(last) ? last.parent_path().string() : DataRoot().string();
    auto chosen = Dlg().OpenFile(request);
    if (chosen) {
        std::filesystem::path folder = std::filesystem::path(*chosen).parent_path();
        DataFolder = folder;
        KisoTaikaiText.SetCaption(folder.filename().string());
        StatusBar1.SetPanel(0, folder.string());
        if (folder.string().size() > 1 && !openChosenRace()) return;
    }
    enableRaceOutputs();
    OutputForm->OpenPrintParam.SetEnabled(TaikaiOpen);
    OutputForm->LoadPrizeParams();
    PrevKukanNum = KukanSpinNum.Value();
    if (chosen) lstDBS_Path = *chosen;
}

// Steps after the file dialog; false when the road ends here (lock, new edition).
// An open either completes or leaves nothing open: a failure on the way takes back
// what it had done, so nothing half-loaded is ever saved over the stored edition.
bool TMainForm::openChosenRace() {
    bool locked = false;
    try {
        return openLockedRace(locked);
    } catch (const UnexpectedDialog&) {
        throw;
    } catch (const std::exception& e) {
        abandonOpen(locked);
        Dlg().ShowMessage(std::string("大会情報を開けませんでした。\n") + e.what());
        return true;
    }
}

// Back to no race open: no data module, no lock of ours, empty grids with nothing to save.
void TMainForm::abandonOpen(bool locked) {
    TaikaiOpen = false;
    TaikaiNo = -1;
    TaikaiIniPending = false;
    DataMdl->CloseAll();
    if (locked) ReleaseLockFile();
    const std::initializer_list<StringGrid*> grids{&taikaiBestGrid, &KukanInfGrid,  &TeamEntryGrid,
                                                   &RunnerEntryGrid, &InputGrid,    &tempKukanGrid,
                                                   &FormKuriage->KuriageGrid};
    for (StringGrid* g : grids)
        g->ClearAll();
    ReceName.SetText("");
    OrgName.SetText("");
    ApplyCountsAndLayout();
    for (StringGrid* g : grids)
        g->ClearModified();
    ReceName.ClearModified();
    OrgName.ClearModified();
    FormKuriage->FTimeDirty = false;
}

bool TMainForm::openLockedRace(bool& locked) {
    if (CheckLockOnOpen()) {
        TaikaiOpen = false;
        StatusBar1.SetPanel(0, ""); // nothing is open: the path would say otherwise
        return false;
    }
    SelectDataForm->FormShow();
    int result = Dlg().ShowModal(*SelectDataForm);
    SelectDataForm->FormClose();
    // A road that stops here leaves the race file closed: its SQLite lock goes too.
    if (result != TSelectDataForm::mrAddEdition && result != TSelectDataForm::mrOpenEdition) {
        TaikaiOpen = false;
        DataMdl->CloseAll();
        return true;
    }
    std::string lockError;
    if (!CreateLockFile(&lockError)) {
        if (lockError.empty())
            Dlg().MessageDlg("その大会情報はロックされています。\n他のユーザーが使用中の可能性があります。",
                             MsgKind::Warning, Btn::OK);
        else
            Dlg().ShowMessage("ロックファイルを作成できません。\n" + (DataFolder / kLockFileName).string() + "\n" +
                              lockError);
        TaikaiOpen = false;
        StatusBar1.SetPanel(0, "");
        DataMdl->CloseAll();
        return false;
    }
    locked = true;
    if (result == TSelectDataForm::mrAddEdition) {
        openNewEdition();
        return false;
    }
    openExistingEdition();
    return true;
}

void TMainForm::openNewEdition() {
    bool copyEntries =
        Dlg().MessageDlg("前回のｴﾝﾄﾘｰ情報を複製しますか?", MsgKind::Confirmation, Btn::YesNo) == mrYes;
    TaikaiNo = SelectedTaikaiNo;
    InputGrid.ClearAll();
    DropCellsBeyondCounts();
    if (TaikaiNo > 0) {
        TaikaiOpen = true;
        LoadOrAddTaikaiEdition(true);
        OpenTeamTable();
        OpenRunnerTable();
        TaikaiIniPending = true;
        ApplyCountsAndLayout();
        if (!copyEntries) {
            ClearRunnerRecords();
            ClearTeamRecords();
        }
        ClearAllRemarks();
        LoadKukanBlob();
        LoadKuriageBlob();
        LoadInputBlob();
        LoadTeamsToGrid();
        UpdateRecordsFromResults();
        DeleteTempTable();
        InputGrid.ClearModified();
        // The new edition is open: a second create or open would only be refused.
        MakeKeyName.SetEnabled(false);
        OpenKeyName.SetEnabled(false);
    } else {
        ReleaseLockFile(); // no edition to open: the race stays closed and unlocked
        TaikaiOpen = false;
        DataMdl->CloseAll();
    }
    enableRaceOutputs();
    OutputForm->LoadPrizeParams();
}

void TMainForm::openExistingEdition() {
    TaikaiOpen = true;
    DeleteTempTable();
    InputGrid.ClearAll();
    DropCellsBeyondCounts();
    LoadOrAddTaikaiEdition(false);
    TaikaiIniPending = true;
    ApplyCountsAndLayout();
    LoadKukanBlob();
    LoadKuriageBlob();
    LoadInputBlob();
    // Read as every computation reads it: a waiting table the engine cannot read stops
    // the open, with its file named, rather than each computation later.
    WaitingTimes().Load();
    InputGrid.ClearModified();
    MakeKeyName.SetEnabled(false);
    OpenKeyName.SetEnabled(false);
    ReadClockLog();
}

void TMainForm::enableRaceOutputs() {
    for (Action* a : {&showHtml, &showHtmlPC, &killHtml, &OpenExcelMacro, &startListWeb, &StartListPrev,
                      &StartListExcel})
        a->SetEnabled(TaikaiOpen);
}
