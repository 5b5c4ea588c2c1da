#pragma once
// Editions (回) of a race: the list for the edition dialog, one edition by number,
// adding an edition from a source edition, deleting one, and the edition's texts.
#include <string>

class StringGrid;

// Fills the edition dialog's data grid (titles in row 0) from the race file.
void OpenEditionList(StringGrid& dataGrid);
// DataMdl->Query1 holds the edition's row; an empty result is reported.
void OpenEditionByNumber(int taikaiNo);
void CloseEditionQuery();
void LoadOrAddTaikaiEdition(bool add);
void DeleteEdition(int shownNo);
// The edition date: style 0 "2009/01/04", 1 "2009年1月4日"; others and no date "".
std::string FormatOpDate(int style);
// The race name, cut to maxBytes Shift-JIS bytes when maxBytes > 0.
std::string RaceTitleText(int maxBytes);
