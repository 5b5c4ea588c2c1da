#include "platform/Dialogs.h"

void ScriptedDialogs::ShowMessage(const std::string& text) { log_.push_back({"message", text}); }

int ScriptedDialogs::MessageDlg(const std::string& text, MsgKind kind, int buttons) {
    log_.push_back({"dlg", text});
    lastKind_ = kind;
    lastButtons_ = buttons;
    if (buttons == Btn::OK) return mrOk; // a notice needs no script
    if (dlgAnswers_.empty()) throw UnexpectedDialog("unexpected question: " + text);
    int r = dlgAnswers_.front();
    dlgAnswers_.pop_front();
    return r;
}

std::optional<std::string> ScriptedDialogs::InputQuery(const std::string& caption, const std::string& prompt,
                                                       const std::string& value) {
    log_.push_back({"input", caption + ":" + prompt + ":" + value});
    if (inputAnswers_.empty()) throw UnexpectedDialog("unexpected input box: " + caption);
    auto r = inputAnswers_.front();
    inputAnswers_.pop_front();
    return r;
}

std::optional<std::string> ScriptedDialogs::OpenFile(const FileDialogRequest& request) {
    log_.push_back({"open", request.Title});
    lastRequest_ = request;
    if (fileAnswers_.empty()) throw UnexpectedDialog("unexpected open dialog: " + request.Title);
    auto r = fileAnswers_.front();
    fileAnswers_.pop_front();
    return r;
}

std::optional<std::string> ScriptedDialogs::SaveFile(const FileDialogRequest& request) {
    log_.push_back({"save", request.Title});
    lastRequest_ = request;
    if (fileAnswers_.empty()) throw UnexpectedDialog("unexpected save dialog: " + request.Title);
    auto r = fileAnswers_.front();
    fileAnswers_.pop_front();
    return r;
}

std::optional<std::vector<std::string>> ScriptedDialogs::OpenFiles(const FileDialogRequest& request) {
    log_.push_back({"open", request.Title});
    lastRequest_ = request;
    if (filesAnswers_.empty()) throw UnexpectedDialog("unexpected open dialog for files: " + request.Title);
    auto r = filesAnswers_.front();
    filesAnswers_.pop_front();
    return r;
}

int ScriptedDialogs::ShowModal(FormBase& form) {
    log_.push_back({"modal", form.Name()});
    if (modalAnswers_.empty()) throw UnexpectedDialog("unexpected modal form: " + form.Name());
    auto s = std::move(modalAnswers_.front());
    modalAnswers_.pop_front();
    return s(form);
}

std::vector<std::string> ScriptedDialogs::Texts() const {
    std::vector<std::string> out;
    for (const auto& s : log_)
        if (s.Kind == "message" || s.Kind == "dlg" || s.Kind == "exception") out.push_back(s.Text);
    return out;
}

std::string ScriptedDialogs::Joined() const {
    std::string out;
    for (const auto& t : Texts()) {
        if (!out.empty()) out += "|";
        out += t;
    }
    return out;
}

bool ScriptedDialogs::Saw(const std::string& text) const {
    for (const auto& s : log_)
        if (s.Text == text) return true;
    return false;
}

bool ScriptedDialogs::Pending() const {
    return !dlgAnswers_.empty() || !inputAnswers_.empty() || !fileAnswers_.empty() || !filesAnswers_.empty() ||
           !modalAnswers_.empty();
}
