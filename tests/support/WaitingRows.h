#pragma once
// Writes one waiting time into the open edition's waiting table, as the waiting
// window will: key leg × 1000 + number, the time code as typed.
#include "database/EntryTables.h"
#include "database/TDataMdl.h"
#include "mainwindow/Program.h"

inline void AddWaitingRow(int leg, int number, int code) {
    OpenDelayTable();
    Table& t = DataMdl->Table4;
    t.Append();
    t.SetField("Kukan_Team", WaitingKey(leg, number));
    t.SetField("DTIME", code);
    t.SetField("KUKAN", leg);
    t.Post();
    t.Close();
}
