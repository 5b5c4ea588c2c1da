#pragma once
// The writers of the certificate documents and the prize list, run by the result
// window's actions.
#include "database/TeamWorkRec.h"
#include "output/Rtf.h"

#include <string>
#include <vector>

class TOutputForm;

// Team certificates "AllPrize.RTF".
void WriteTeamPrizeRtf(TOutputForm& form);
// The teams of the team prizes in gap-ranking order, with what the documents ask of
// them; empty records after "参加チームがありません。" when there are no teams.
struct PrizeTeams {
    std::vector<TeamWorkRec> records;
    bool allClassed = false;  // every team has a class: class prizes
    bool improvement = false; // some team has an improvement place
    char lastClass = 'A';
};
PrizeTeams ReadPrizeTeams();
// The certificates of one section (0 overall, 1 the class classLetter, 2 improvement)
// of the records in their current order; "" when nobody wins there.
std::string WriteTeamCertificates(TOutputForm& form, const std::vector<TeamWorkRec>& records, int section,
                                  char classLetter);
// The runners of legs 1..KukanNum joined for the member line, "<>" where it breaks.
std::string BuildTeamMemberLine(const TOutputForm& form, int team);

// A winner of a leg: place 1 the leg prize, above 1 the best of a class; with its
// class letter ('*' without classes), leg time, prize kind and leg-record mark.
struct LegWinner {
    int team = 0, place = 0;
    char classLetter = ' ';
    int time = 0, kind = 0, mark = 0;
};
// The winners of one leg in order of their place; equal places keep team-number order.
std::vector<LegWinner> LegWinners(int leg);

// Leg and class certificates "Kukan%02d.RTF" of one leg, or of every leg for 0.
void WriteKojinPrizeRtf(TOutputForm& form, int leg);

// The prize list "ALL_List.RTF".
void WritePrizeListRtf(TOutputForm& form);
// Appends the team part of the list.
void WritePrizeListTeamPart(TOutputForm& form, RtfLines& lines);
// Row definitions of the list tables; with header also the header cells and "\row".
std::string WriteListKojinTable(TOutputForm& form, bool header);
// kind '0' overall, '1' improvement, else a class letter.
std::string WriteListTeamTable(TOutputForm& form, bool header, char kind);
