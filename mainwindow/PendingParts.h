#pragma once
// Operations the life cycle calls by their system names: the clock log of the
// clock-time window (MainClockLinks.cpp).
void WriteClockLog();
void ReadClockLog();
