#include "mainwindow/PendingParts.h"

#include "mainwindow/TMainForm.h"

// Not built yet: packing the entries comes with the CSV entry import.
void TMainForm::SpeedButtonPackEntryClick() {}
