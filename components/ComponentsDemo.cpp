#include "components/ComponentsDemo.h"

#include "components/ClorCalendar.h"
#include "components/DaySdler.h"
#include "components/DgitClock.h"
#include "components/NumberEdit.h"
#include "gui/QtText.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QSpinBox>

#include <system_error>

namespace components {

ComponentsDemo::ComponentsDemo(const ClockFn& clock, QWidget* parent)
    : QWidget(parent), Calendar(new TClorCalendar(this, clock)), Schedule(new TDaySdlerTxt(this, clock)),
      Clock(new TDgitClock(this, clock)), Number(new TNumberEdit(this)) {
    setWindowTitle(QStringLiteral("Samples"));
    Calendar->setFixedSize(280, 200);
    Schedule->setFixedSize(240, Schedule->height());
    Schedule->SetCells(1, 3, "佐藤");
    Schedule->SetCells(1, 5, "山田*");
    Clock->ShowTime();
    Number->SetComma(true);
    Number->SetYen(true);
    Number->SetValue(1234567);

    auto* grid = new QGridLayout(this);
    grid->addWidget(Calendar, 0, 0, Qt::AlignTop);
    grid->addWidget(Schedule, 0, 1, 3, 1, Qt::AlignTop);
    grid->addWidget(Clock, 1, 0, Qt::AlignLeft);
    grid->addWidget(Number, 2, 0, Qt::AlignTop);
    grid->addLayout(settingsRow(), 3, 0, 1, 2);
}

// What a designer would set on the schedule, and the calendar's Change events counted,
// so that both can be tried by hand.
QHBoxLayout* ComponentsDemo::settingsRow() {
    Schedule->SetOptions({.Editing = true});
    auto* row = new QHBoxLayout;
    auto* changes = new QLabel(QStringLiteral("Change 0"), this);
    connect(Calendar, &TClorCalendar::Change, changes, [this, changes, n = 0]() mutable {
        const auto d = Calendar->CalendarDate();
        changes->setText(QStringLiteral("Change %1  %2/%3/%4")
                             .arg(++n)
                             .arg(static_cast<int>(d.year()))
                             .arg(static_cast<unsigned>(d.month()))
                             .arg(static_cast<unsigned>(d.day())));
    });
    row->addWidget(changes);
    const auto spin = [this, row](const char* name, int low, int high, int value,
                                  void (TDaySdlerTxt::*set)(int)) {
        auto* box = new QSpinBox(this);
        box->setRange(low, high);
        box->setValue(value);
        box->setKeyboardTracking(false);
        connect(box, &QSpinBox::valueChanged, Schedule, set);
        row->addWidget(new QLabel(QString::fromLatin1(name), this));
        row->addWidget(box);
    };
    spin("StWorkTime", 0, 23, Schedule->GetStWorkTime(), &TDaySdlerTxt::SetStWorkTime);
    spin("WorkHour", 1, 24, Schedule->GetWorkHour(), &TDaySdlerTxt::SetWorkHour);
    auto* title = new QLineEdit(Schedule->GetTitleA(), this);
    connect(title, &QLineEdit::editingFinished, Schedule,
            [this, title] { Schedule->SetTitleA(title->text()); });
    row->addWidget(new QLabel(QStringLiteral("TitleA"), this));
    row->addWidget(title);
    return row;
}

LocalDateTime DemoTime() {
    using namespace std::chrono;
    return {2024y / April / 10, 10, 30, 15, 0};
}

bool WriteDemoShots(const std::filesystem::path& folder, std::string& error) {
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (!std::filesystem::is_directory(folder)) {
        error = "フォルダを作成できません: " + folder.string();
        return false;
    }
    ComponentsDemo demo(DemoTime);
    demo.show();
    QApplication::processEvents();
    QWidget* shown[] = {demo.Calendar, demo.Schedule, demo.Clock, demo.Number};
    for (size_t i = 0; i < std::size(shown); ++i) {
        const std::filesystem::path file = folder / kDemoShots[i];
        if (!shown[i]->grab().save(qs(file.string()), "PNG")) {
            error = "画像を保存できません: " + file.string();
            return false;
        }
    }
    return true;
}

} // namespace components
