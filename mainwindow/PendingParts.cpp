#include "mainwindow/PendingParts.h"

#include "mainwindow/TMainForm.h"

// Not built yet: the clock log (waiting information window) and the prize settings.
void WriteClockLog() {}
void ReadClockLog() {}
void SavePrizeParams() {}
void LoadPrizeParams() {}
