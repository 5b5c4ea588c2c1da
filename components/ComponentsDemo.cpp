#include "components/ComponentsDemo.h"

#include "components/ClorCalendar.h"
#include "components/DaySdler.h"
#include "components/DgitClock.h"
#include "components/NumberEdit.h"
#include "gui/QtText.h"

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QPixmap>

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
