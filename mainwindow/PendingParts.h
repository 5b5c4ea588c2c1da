#pragma once
// Operations of windows that are not built yet; each keeps its system name so the
// callers already run in their final order.
// The clock log of the clock-time window (MainClockLinks.cpp).
void WriteClockLog();
void ReadClockLog();
void SavePrizeParams();
void LoadPrizeParams();
