#include "gui/QtDialogs.h"

#include "gui/FormRegistry.h"
#include "gui/QtText.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QInputDialog>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <map>
#include <memory>
#include <thread>
#include <vector>

namespace {

struct ButtonDef {
    int flag;
    const char* text;
    QMessageBox::ButtonRole role;
    int result;
};

// In the order the buttons stand in the box.
constexpr ButtonDef kButtons[] = {
    {Btn::Yes, "はい", QMessageBox::YesRole, mrYes},          {Btn::No, "いいえ", QMessageBox::NoRole, mrNo},
    {Btn::OK, "OK", QMessageBox::AcceptRole, mrOk},           {Btn::Cancel, "キャンセル", QMessageBox::RejectRole, mrCancel},
    {Btn::Abort, "中止", QMessageBox::RejectRole, mrAbort},   {Btn::Retry, "再試行", QMessageBox::AcceptRole, mrRetry},
    {Btn::Ignore, "無視", QMessageBox::AcceptRole, mrIgnore},
};

QMessageBox::Icon iconOf(MsgKind kind) {
    switch (kind) {
    case MsgKind::Warning: return QMessageBox::Warning;
    case MsgKind::Error: return QMessageBox::Critical;
    case MsgKind::Information: return QMessageBox::Information;
    case MsgKind::Confirmation: return QMessageBox::Question;
    case MsgKind::Custom: break;
    }
    return QMessageBox::NoIcon;
}

QString titleOf(MsgKind kind) {
    switch (kind) {
    case MsgKind::Warning: return QStringLiteral("警告");
    case MsgKind::Error: return QStringLiteral("エラー");
    case MsgKind::Information: return QStringLiteral("情報");
    case MsgKind::Confirmation: return QStringLiteral("確認");
    case MsgKind::Custom: break;
    }
    return QString::fromUtf8(kAppTitle);
}

QWidget* dialogParent() { return QApplication::activeWindow(); }

QString joinPatterns(const QString& patterns) {
    QStringList out;
    for (const QString& p : patterns.split(u';', Qt::SkipEmptyParts))
        out << (p.trimmed() == QLatin1String("*.*") ? QStringLiteral("*") : p.trimmed());
    return out.join(u' ');
}

// Qt only takes ASCII patterns from a name filter ("大会情報 (大会情報.db)" lists no file):
// the patterns of the chosen filter go to the dialog's file model directly.
void applyFilterPatterns(QFileDialog& dlg, const std::string& filter) {
    auto* model = dlg.findChild<QFileSystemModel*>();
    if (!model) return; // a native dialog matches the patterns itself
    const QStringList parts = qs(filter).split(u'|');
    const QStringList shown = dlg.nameFilters();
    const int i = std::max(0, static_cast<int>(shown.indexOf(dlg.selectedNameFilter())));
    if (2 * i + 1 >= parts.size()) return;
    const QStringList patterns = joinPatterns(parts[2 * i + 1]).split(u' ', Qt::SkipEmptyParts);
    model->setNameFilters(patterns);
}

} // namespace

QString FileFilterToQt(const std::string& filter) {
    const QStringList parts = qs(filter).split(u'|');
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) out << parts[i] + " (" + joinPatterns(parts[i + 1]) + ")";
    return out.join(QStringLiteral(";;"));
}

void QtDialogs::ShowMessage(const std::string& text) {
    QMessageBox box(QMessageBox::NoIcon, QString::fromUtf8(kAppTitle), qs(text), QMessageBox::NoButton, dialogParent());
    box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.exec();
}

int QtDialogs::MessageDlg(const std::string& text, MsgKind kind, int buttons) {
    QMessageBox box(iconOf(kind), titleOf(kind), qs(text), QMessageBox::NoButton, dialogParent());
    std::map<QAbstractButton*, int> results;
    QPushButton* first = nullptr;
    for (const auto& b : kButtons) {
        if (!(buttons & b.flag)) continue;
        QPushButton* button = box.addButton(QString::fromUtf8(b.text), b.role);
        results[button] = b.result;
        if (!first) first = button;
    }
    if (first) box.setDefaultButton(first);
    box.exec();
    auto it = results.find(box.clickedButton());
    // Closed without a button (Escape with no cancel button, window closed).
    return it == results.end() ? mrCancel : it->second;
}

std::optional<std::string> QtDialogs::InputQuery(const std::string& caption, const std::string& prompt,
                                                 const std::string& value) {
    QInputDialog dlg(dialogParent());
    dlg.setWindowTitle(qs(caption));
    dlg.setLabelText(qs(prompt));
    dlg.setTextValue(qs(value));
    dlg.setOkButtonText(QStringLiteral("OK"));
    dlg.setCancelButtonText(QStringLiteral("キャンセル"));
    if (dlg.exec() != QDialog::Accepted) return std::nullopt;
    return ss(dlg.textValue());
}

std::optional<std::string> QtDialogs::runFileDialog(const FileDialogRequest& request, bool save) {
    const QStringList files = chooseFiles(request, save, false);
    if (files.isEmpty()) return std::nullopt;
    return ss(files.front());
}

std::optional<std::vector<std::string>> QtDialogs::OpenFiles(const FileDialogRequest& request) {
    const QStringList files = chooseFiles(request, false, true);
    if (files.isEmpty()) return std::nullopt;
    std::vector<std::string> out;
    for (const QString& f : files) out.push_back(ss(f));
    return out;
}

QStringList QtDialogs::chooseFiles(const FileDialogRequest& request, bool save, bool several) {
    QFileDialog dlg(dialogParent(), qs(request.Title));
    dlg.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dlg.setFileMode(save ? QFileDialog::AnyFile : several ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
    if (!request.Filter.empty()) {
        dlg.setNameFilter(FileFilterToQt(request.Filter));
        applyFilterPatterns(dlg, request.Filter);
        QObject::connect(&dlg, &QFileDialog::filterSelected, &dlg,
                         [&dlg, filter = request.Filter] { applyFilterPatterns(dlg, filter); });
    }
    QString dir = qs(request.InitialDir);
    QFileInfo file(qs(request.FileName));
    if (dir.isEmpty() && !request.FileName.empty() && file.isAbsolute()) dir = file.absolutePath();
    if (!dir.isEmpty()) dlg.setDirectory(dir);
    // An open dialog proposes only a file that is there: a name that is not would make
    // Enter answer "not found" in a folder that holds only race folders.
    const bool proposable = save || QFileInfo(QDir(dlg.directory()).filePath(file.fileName())).isFile();
    if (!request.FileName.empty() && proposable) dlg.selectFile(file.fileName());
    if (!request.DefaultExt.empty())
        dlg.setDefaultSuffix(qs(request.DefaultExt).remove(0, request.DefaultExt[0] == '.' ? 1 : 0));
    if (dlg.exec() != QDialog::Accepted) return {};
    return dlg.selectedFiles();
}

std::optional<std::string> QtDialogs::OpenFile(const FileDialogRequest& request) { return runFileDialog(request, false); }
std::optional<std::string> QtDialogs::SaveFile(const FileDialogRequest& request) { return runFileDialog(request, true); }

int QtDialogs::ShowModal(FormBase& form) {
    const DialogFactory* make = FindDialog(form.Name());
    if (!make) {
        QMessageBox::information(dialogParent(), QString::fromUtf8(kAppTitle),
                                 QStringLiteral("「%1」の画面はまだ使えません。").arg(qs(form.Caption())));
        return mrCancel;
    }
    form.SetModalResult(mrNone);
    std::unique_ptr<QDialog> dlg((*make)(form, dialogParent()));
    // A handler that sets the form's modal result ends the showing.
    QPointer<QDialog> live(dlg.get());
    form.EndModal.connect([live](int r) {
        if (live) live->done(r);
    });
    int r = dlg->exec();
    if (form.ModalResultValue() != mrNone) return form.ModalResultValue();
    return r == QDialog::Rejected ? mrCancel : r;
}

void QtDialogs::BeginWait() {
    if (waitDepth_++ == 0) QApplication::setOverrideCursor(Qt::WaitCursor);
}

void QtDialogs::EndWait() {
    if (waitDepth_ == 0) return;
    if (--waitDepth_ == 0) QApplication::restoreOverrideCursor();
}

void QtDialogs::ShowException(const std::string& text) {
    QMessageBox::critical(dialogParent(), QString::fromUtf8(kAppTitle), qs(text));
}

void QtDialogs::RunMinimised(const std::function<void()>& work) {
    std::vector<std::pair<QPointer<QWidget>, Qt::WindowStates>> minimised;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && !w->isMinimized()) {
            minimised.emplace_back(w, w->windowState());
            w->showMinimized();
        }
    // The work only waits for an outside program: it touches no window and no model.
    std::atomic<bool> done{false};
    std::thread worker([&] {
        work();
        done = true;
    });
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done) loop.quit();
    });
    poll.start(100);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    worker.join();
    for (auto& [w, state] : minimised)
        if (w) w->setWindowState(state);
}
