#pragma once
// Record comparisons, the label and mark tables of the result outputs, the pair
// sort, leg distances in metres and the output folders of the race.
#include <filesystem>
#include <stdexcept>
#include <string>

// Results of the record comparisons.
enum RecordCompare { kNoRecordSet = -1, kNotBeaten = 0, kNewRecord = 1, kRecordEqualled = 2 };

// Leg time against the leg record of that leg (leg information grid, "区間記録").
int CompareLegRecord(int time, int leg);
// Total time against the tournament record; 0 for every leg but the last.
int CompareTaikaiRecord(int total, int leg);

// Runner remark 0..3: "", "OP", "記録なし", "記録なし".
std::string RemarkLabel(int remark);
// Leg prize kind 0..2: "", "★" leg prize, "◇" class prize.
std::string PrizeMark(int kind);
// Record comparison -1..2: "", two blanks, "◎" new, "▽" equalled.
std::string RecordMark(int compare);

// Ascending by key, both arrays reordered alike; equal keys keep their order.
void SortPairs(int keys[], int values[], int n);

// Distance in km to whole metres, rounded to the nearest metre; 0 when it does not fit.
int KmToMetres(float km);

// The output folders of the open race: DataHTML and DataHTML/csv.
std::filesystem::path HtmlFolder();
std::filesystem::path HtmlCsvFolder();

// An output folder that could not be made: its path in the desk's words, and why when
// a file stands in its place.
struct CreateFolderError : std::runtime_error {
    explicit CreateFolderError(const std::filesystem::path& dir);
};
// Creates one output folder of the open race when it is missing; throws
// CreateFolderError when it cannot be made or no race is open.
void MakeOutputFolder(const std::filesystem::path& dir);
// Creates the output folders that are missing; throws CreateFolderError when one
// cannot be made.
void MakeHtmlFolder();
