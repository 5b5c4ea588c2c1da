#pragma once
// Operations the life cycle calls by their system names: the clock log of the
// clock-time window (MainClockLinks.cpp), and the prize settings, not built yet, so
// that the callers already run in their final order.
void WriteClockLog();
void ReadClockLog();
void SavePrizeParams();
void LoadPrizeParams();
