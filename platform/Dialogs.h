#pragma once
// The message boxes, input boxes, file dialogs, modal forms and the hourglass.
// The Qt implementation lives in gui/; ScriptedDialogs answers tests from a queue.
#include "platform/Form.h"

#include <deque>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

enum class MsgKind { Warning, Error, Information, Confirmation, Custom };

namespace Btn {
constexpr int Yes = 1, No = 2, OK = 4, Cancel = 8, Abort = 16, Retry = 32, Ignore = 64;
constexpr int YesNo = Yes | No;
constexpr int YesNoCancel = Yes | No | Cancel;
constexpr int OKCancel = OK | Cancel;
constexpr int OKIgnore = OK | Ignore;
} // namespace Btn

struct FileDialogRequest {
    std::string Title;
    std::string Filter;      // "説明|*.db|..." as the platform writes filters
    std::string InitialDir;
    std::string FileName;    // pre-selected file
    std::string DefaultExt;
};

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // Plain box with OK and the application's title.
    virtual void ShowMessage(const std::string& text) = 0;
    // Returns the ModalResult of the pressed button (mrYes, mrNo, mrOk, mrIgnore ...).
    virtual int MessageDlg(const std::string& text, MsgKind kind, int buttons) = 0;
    // Input box: the edited value, or nullopt when cancelled.
    virtual std::optional<std::string> InputQuery(const std::string& caption, const std::string& prompt,
                                                  const std::string& value) = 0;
    // The platform's InputBox: the default comes back when cancelled.
    std::string InputBox(const std::string& caption, const std::string& prompt, const std::string& def) {
        auto r = InputQuery(caption, prompt, def);
        return r ? *r : def;
    }
    virtual std::optional<std::string> OpenFile(const FileDialogRequest& request) = 0;
    virtual std::optional<std::string> SaveFile(const FileDialogRequest& request) = 0;
    // Open dialog for several files: the chosen files in their order, nothing when cancelled.
    virtual std::optional<std::vector<std::string>> OpenFiles(const FileDialogRequest& request) = 0;
    // Shows a headless form modally; returns its modal result.
    virtual int ShowModal(FormBase& form) = 0;
    // Hourglass cursor on (depth counted) and off.
    virtual void BeginWait() = 0;
    virtual void EndWait() = 0;
    // Shows an exception that escaped a handler in the standard error box.
    virtual void ShowException(const std::string& text) { ShowMessage(text); }
    // Runs work (which touches no window) while the program's windows are minimised,
    // still painted but deaf to input, and restores them afterwards.
    virtual void RunMinimised(const std::function<void()>& work) { work(); }
};

// Hourglass for the length of a scope.
class WaitCursor {
public:
    explicit WaitCursor(Dialogs& d) : d_(d) { d_.BeginWait(); }
    ~WaitCursor() { d_.EndWait(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    Dialogs& d_;
};

// Raised when a test's dialog script meets a question it did not expect.
struct UnexpectedDialog : std::logic_error {
    using std::logic_error::logic_error;
};

// Test double: records every text shown, answers questions from a queue.
class ScriptedDialogs : public Dialogs {
public:
    struct Shown {
        std::string Kind; // "message", "dlg", "input", "open", "save", "modal", "exception"
        std::string Text;
    };
    using ModalScript = std::function<int(FormBase&)>;

    // Queue answers in the order the program will ask.
    void AnswerDlg(int modalResult) { dlgAnswers_.push_back(modalResult); }
    void AnswerInput(std::optional<std::string> v) { inputAnswers_.push_back(std::move(v)); }
    void AnswerFile(std::optional<std::string> path) { fileAnswers_.push_back(std::move(path)); }
    void AnswerFiles(std::optional<std::vector<std::string>> paths) { filesAnswers_.push_back(std::move(paths)); }
    void AnswerModal(ModalScript s) { modalAnswers_.push_back(std::move(s)); }

    void ShowMessage(const std::string& text) override;
    int MessageDlg(const std::string& text, MsgKind kind, int buttons) override;
    std::optional<std::string> InputQuery(const std::string& caption, const std::string& prompt,
                                          const std::string& value) override;
    std::optional<std::string> OpenFile(const FileDialogRequest& request) override;
    std::optional<std::string> SaveFile(const FileDialogRequest& request) override;
    std::optional<std::vector<std::string>> OpenFiles(const FileDialogRequest& request) override;
    int ShowModal(FormBase& form) override;
    void BeginWait() override { ++waitDepth_; ++waitCount_; }
    void EndWait() override { --waitDepth_; }
    void ShowException(const std::string& text) override { log_.push_back({"exception", text}); }

    const std::vector<Shown>& Log() const { return log_; }
    std::vector<std::string> Texts() const;
    // Every text shown, in order, joined by "|".
    std::string Joined() const;
    bool Saw(const std::string& text) const;
    bool Pending() const;
    void ClearLog() { log_.clear(); }
    int WaitDepth() const { return waitDepth_; }
    int WaitCount() const { return waitCount_; }
    // Last MessageDlg's kind and buttons, for tests of the box itself.
    MsgKind LastKind() const { return lastKind_; }
    int LastButtons() const { return lastButtons_; }
    FileDialogRequest LastFileRequest() const { return lastRequest_; }

private:
    std::vector<Shown> log_;
    std::deque<int> dlgAnswers_;
    std::deque<std::optional<std::string>> inputAnswers_;
    std::deque<std::optional<std::string>> fileAnswers_;
    std::deque<std::optional<std::vector<std::string>>> filesAnswers_;
    std::deque<ModalScript> modalAnswers_;
    int waitDepth_ = 0;
    int waitCount_ = 0;
    MsgKind lastKind_ = MsgKind::Custom;
    int lastButtons_ = 0;
    FileDialogRequest lastRequest_;
};
