#pragma once
// The CSV entry window (TCSVEntry), modal: its menu, the team name and number boxes,
// "監督含む", and the CSV grid, where the mouse marks the range to import.
#include "gui/FormDialog.h"

#include <Qt>

class GridView;
class TCSVEntry;

class CsvEntryDialog : public FormDialog {
public:
    CsvEntryDialog(TCSVEntry& form, QWidget* parent);

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    QWidget* buildPanel();
    void bindGrid();

    TCSVEntry& form_;
    GridView* grid_ = nullptr;
    // The modifiers of the last mouse press on the grid, seen before the grid handles it.
    Qt::KeyboardModifiers pressModifiers_;
};
