#pragma once
// Operations of windows that are not built yet; each keeps its system name so the
// callers already run in their final order.
void WriteClockLog();
void ReadClockLog();
