#pragma once
// The dialog service on Qt: message boxes with Japanese buttons, input box, file
// dialogs, the registered modal windows and the hourglass cursor.
#include "platform/Dialogs.h"

#include <QString>
#include <QStringList>

constexpr const char* kAppTitle = "theTavren";

// "説明|*.db;*.txt|説明2|*.csv" -> "説明 (*.db *.txt);;説明2 (*.csv)"; "*.*" means every file.
QString FileFilterToQt(const std::string& filter);

class QtDialogs : public Dialogs {
public:
    void ShowMessage(const std::string& text) override;
    int MessageDlg(const std::string& text, MsgKind kind, int buttons) override;
    std::optional<std::string> InputQuery(const std::string& caption, const std::string& prompt,
                                          const std::string& value) override;
    std::optional<std::string> OpenFile(const FileDialogRequest& request) override;
    std::optional<std::string> SaveFile(const FileDialogRequest& request) override;
    std::optional<std::vector<std::string>> OpenFiles(const FileDialogRequest& request) override;
    int ShowModal(FormBase& form) override;
    void BeginWait() override;
    void EndWait() override;
    void ShowException(const std::string& text) override;
    // The work runs beside the event loop, which keeps painting but takes no input.
    void RunMinimised(const std::function<void()>& work) override;

private:
    std::optional<std::string> runFileDialog(const FileDialogRequest& request, bool save);
    // The chosen files (empty when cancelled) of a dialog for a save, one file or several.
    QStringList chooseFiles(const FileDialogRequest& request, bool save, bool several);
    int waitDepth_ = 0;
};
