#include "mainwindow/PendingParts.h"

#include "mainwindow/TMainForm.h"

// Not built yet: the prize settings.
void SavePrizeParams() {}
void LoadPrizeParams() {}
