#pragma once
// TDaySdlerTxt: a two-column grid listing the hours of a working day under a title
// row; on the target date the row of the current hour is drawn in TimeColor. A timer
// looks at the clock once a minute and repaints when the hour has turned.
#include "components/ComponentGrid.h"
#include "components/DaySdlerModel.h"

class QTimer;

namespace components {

class TDaySdlerTxt : public ComponentGrid {
    Q_OBJECT
    Q_PROPERTY(int StWorkTime READ GetStWorkTime WRITE SetStWorkTime)
    Q_PROPERTY(int WorkHour READ GetWorkHour WRITE SetWorkHour)
    Q_PROPERTY(QString TitleA READ GetTitleA WRITE SetTitleA)
    Q_PROPERTY(QString TitleB READ GetTitleB WRITE SetTitleB)
    Q_PROPERTY(QColor TimeColor READ GetTimeColor WRITE SetTimeColor)
    Q_PROPERTY(components::ComponentGrid::GridOptionSet Options READ GetOptionSet WRITE SetOptionSet)
  public:
    static constexpr int kTimerInterval = 60000; // ms

    explicit TDaySdlerTxt(QWidget* parent = nullptr, const ClockFn& clock = SystemNow);

    DaySdlerModel& Model() { return model_; }
    QTimer* Timer() const { return timer_; }

    std::string Cells(int col, int row) const { return model_.Grid.Cells(col, row); }
    void SetCells(int col, int row, const std::string& text) { model_.Grid.SetCells(col, row, text); }

    int GetStWorkTime() const { return model_.StWorkTime(); }
    void SetStWorkTime(int hour) { model_.SetStWorkTime(static_cast<uint16_t>(hour)); }
    int GetWorkHour() const { return model_.WorkHour(); }
    void SetWorkHour(int hours) { model_.SetWorkHour(static_cast<uint16_t>(hours)); }
    QString GetTitleA() const;
    void SetTitleA(const QString& title);
    QString GetTitleB() const;
    void SetTitleB(const QString& title);
    QColor GetTimeColor() const;
    void SetTimeColor(const QColor& color);
    std::chrono::year_month_day TargetDate() const { return model_.TargetDate(); }
    void SetTargetDate(std::chrono::year_month_day date) { model_.SetTargetDate(date); }
    void SetTitleEtc() { model_.SetTitleEtc(); }

    CellStyle DrawCell(int col, int row) const override { return model_.DrawCell(col, row); }
    std::string CellText(int col, int row) const override { return model_.Grid.Cells(col, row); }

  protected:
    int ColCount() const override { return model_.Grid.ColCount(); }
    int RowCount() const override { return model_.Grid.RowCount(); }
    void SetCellText(int col, int row, const std::string& text) override { SetCells(col, row, text); }
    void WMSize(int width, int height) override;

  private:
    DaySdlerModel model_;
    QTimer* timer_;
};

namespace DaySdler {
// Puts TDaySdlerTxt on the palette page "Samples".
void Register();
} // namespace DaySdler

} // namespace components
