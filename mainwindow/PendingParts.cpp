#include "mainwindow/PendingParts.h"

#include "mainwindow/TMainForm.h"

// Not built yet: the clock log (waiting information window).
void WriteClockLog() {}
void ReadClockLog() {}

// Not built yet: packing the entries comes with the CSV entry import.
void TMainForm::SpeedButtonPackEntryClick() {}
