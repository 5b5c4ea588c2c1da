#pragma once
// The scripted answers of the two roads every end-to-end test walks: naming a new
// race folder, and opening an edition of a race from the edition dialog.
#include "mainwindow/TSelectDataForm.h"
#include "mainwindow/TcurrTaikaiDir.h"
#include "platform/Dialogs.h"

#include <filesystem>
#include <string>

// The folder dialog answers with the typed name and OK.
inline void ScriptRaceFolder(ScriptedDialogs& dialogs, const std::string& name) {
    dialogs.AnswerModal([name](FormBase& f) {
        auto& d = static_cast<TcurrTaikaiDir&>(f);
        d.FormActivate();
        d.TaikaiEdit.SetText(name);
        d.OKBtn.Execute();
        return d.ModalResultValue();
    });
}

// "Open?" Yes, the race file, then edition dialog row `row` opened with Yes.
inline void ScriptOpenEdition(ScriptedDialogs& dialogs, const std::filesystem::path& raceFile, int row) {
    dialogs.AnswerDlg(mrYes);
    dialogs.AnswerFile(raceFile.string());
    dialogs.AnswerModal([&dialogs, row](FormBase& f) {
        auto& d = static_cast<TSelectDataForm&>(f);
        d.getDataGridCellClick(row);
        dialogs.AnswerDlg(mrYes);
        d.cmdSelect.Execute();
        return d.ModalResultValue();
    });
}
