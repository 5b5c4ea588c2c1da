#pragma once
// The data module: every table and query of the run, on the open race's folder.
#include "platform/TableEngine.h"

#include <filesystem>
#include <memory>

class TDataMdl {
public:
    TDataMdl() = default;
    // Points every component at the race folder (one connection for the folder).
    void SetFolder(const std::filesystem::path& folder);
    void CloseAll();
    Database* Db() const { return db_.get(); }
    bool HasFolder() const { return db_ != nullptr; }

    Table Table1; // race file
    Table Table2; // teams
    Table Table3; // runners
    Table Table4; // waiting
    Table tmpTable;    // result work table
    Table tmpRepTable; // report work table

private:
    std::unique_ptr<Database> db_;
};
