#pragma once
// The data module: every table and query of the run, on the open race's folder.
#include "platform/TableEngine.h"

#include <filesystem>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

// A query component as the system uses it: SQL text that names tables as files,
// bound parameters, and a result read whole at Open and walked row by row.
class DataQuery {
  public:
    void SetDatabase(Database* db) { db_ = db; }
    void SetSQL(std::string sql) { sql_ = std::move(sql); }
    const std::string& SQL() const { return sql_; }

    // Runs the SELECT and keeps its rows; positioned on the first.
    void Open(const std::vector<Value>& params = {});
    // Runs a statement that returns no rows; the number of rows changed.
    int ExecSQL(const std::vector<Value>& params = {});
    void Close();
    bool Active() const { return active_; }

    int RecordCount() const { return static_cast<int>(rows_.size()); }
    bool IsEmpty() const { return rows_.empty(); }
    void First() { pos_ = 0; }
    void Next() {
        if (pos_ < RecordCount()) ++pos_;
    }
    bool Eof() const { return pos_ >= RecordCount(); }
    int RecNo() const { return pos_; }
    const std::vector<std::string>& FieldNames() const { return names_; }
    // The current row's field (null past the end); an unknown name throws.
    Value Field(const std::string& name) const;
    Value Field(int index) const;

  private:
    Database& db() const;

    Database* db_ = nullptr;
    std::string sql_;
    bool active_ = false;
    std::vector<std::string> names_;
    std::unordered_map<std::string, int> index_; // lower-case name -> column
    std::vector<std::vector<Value>> rows_;
    int pos_ = 0;
};

class TDataMdl {
  public:
    TDataMdl() = default;
    // Points every component at the race folder (one connection for the folder).
    void SetFolder(const std::filesystem::path& folder);
    void CloseAll();
    Database* Db() const { return db_.get(); }
    bool HasFolder() const { return db_ != nullptr; }

    Table Table1;      // race file
    Table Table2;      // teams
    Table Table3;      // runners
    Table Table4;      // waiting
    Table tmpTable;    // result work table
    Table tmpRepTable; // report work table
    DataQuery Query1;  // edition list and one edition
    DataQuery tmpQry;  // work table and waiting table SQL
    DataQuery tmpQry2; // ranking SQL

  private:
    std::vector<Table*> tables() { return {&Table1, &Table2, &Table3, &Table4, &tmpTable, &tmpRepTable}; }
    std::vector<DataQuery*> queries() { return {&Query1, &tmpQry, &tmpQry2}; }

    std::unique_ptr<Database> db_;
};
