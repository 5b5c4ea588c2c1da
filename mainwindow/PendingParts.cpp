#include "mainwindow/PendingParts.h"

// Not built yet: the clock log (waiting information window) and the prize settings.
void WriteClockLog() {}
void ReadClockLog() {}
void SavePrizeParams() {}
void LoadPrizeParams() {}
