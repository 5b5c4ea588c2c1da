#pragma once
// Counts the statements run on the race database whose SQL names a table while the
// work runs: the rule of one read per output, not one per team and leg, made visible.
#include "database/RaceFile.h"

#include <sqlite3.h>

#include <functional>
#include <string>

inline int StatementsNaming(const std::string& table, const std::function<void()>& work) {
    struct Count {
        std::string table;
        int n = 0;
    } count{table};
    sqlite3* db = RaceDb().Handle();
    sqlite3_trace_v2(
        db, SQLITE_TRACE_STMT,
        [](unsigned, void* c, void*, void* sql) {
            auto* counted = static_cast<Count*>(c);
            if (std::string(static_cast<const char*>(sql)).find(counted->table) != std::string::npos)
                ++counted->n;
            return 0;
        },
        &count);
    work();
    sqlite3_trace_v2(db, 0, nullptr, nullptr);
    return count.n;
}
