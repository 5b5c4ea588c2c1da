#pragma once
// Advanced starts (繰上) and restarts (再出発) per relay point: the working copy of
// the edition's advanced-start blob.
#include "platform/Form.h"
#include "platform/StringGrid.h"

class TFormKuriage : public FormBase {
public:
    TFormKuriage();

    StringGrid KuriageGrid{"KuriageGrid"};

    // Layout for the current number of legs: rows 1 .. legs-1 are the relay points.
    void SetupKuriageGrid(StringGrid& grid, int legs);
};
