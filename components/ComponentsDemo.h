#pragma once
// The four visual components laid out side by side (the schedule editable, with its
// settings and the calendar's Change events beside them), and their pictures: what the
// demo program shows and writes.
#include "components/ComponentTypes.h"

#include <QWidget>

#include <filesystem>
#include <string>

class QHBoxLayout;

namespace components {

class TClorCalendar;
class TDaySdlerTxt;
class TDgitClock;
class TNumberEdit;

class ComponentsDemo : public QWidget {
    Q_OBJECT
  public:
    explicit ComponentsDemo(const ClockFn& clock, QWidget* parent = nullptr);

    TClorCalendar* Calendar;
    TDaySdlerTxt* Schedule;
    TDgitClock* Clock;
    TNumberEdit* Number;

  private:
    QHBoxLayout* settingsRow();
};

// The date and time the pictures show: Wednesday 10 April 2024, 10:30:15.
LocalDateTime DemoTime();
// The file names of the pictures, one per component.
inline constexpr const char* kDemoShots[] = {"ClorCalendar.png", "DaySdler.png", "DgitClock.png",
                                             "NumberEdit.png"};
// Lays the components out at DemoTime() and saves one picture of each into folder
// (made when missing). False with a message when a picture cannot be written.
bool WriteDemoShots(const std::filesystem::path& folder, std::string& error);

} // namespace components
