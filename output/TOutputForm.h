#pragma once
#include "platform/Form.h"

class TOutputForm : public FormBase {
public:
    TOutputForm() : FormBase("TOutputForm") { SetCaption("結果出力"); }

    // A restart before the last relay point corrected the totals (set by the computation).
    bool RestartCorrected = false;
    // Teams in the ranking, from CountRankedTeams.
    int RankedTeamCount = 0;
};
