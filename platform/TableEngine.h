#pragma once
// Table engine over SQLite: one database file per table file name the system uses
// ("大会情報.db", "チーム情報001.db", "temptable.db" ...), each holding one table named
// after the file's base name. One connection per race folder: its main database is
// the race file, every other table file is ATTACHed, rollback journal, so a
// transaction spanning several files commits atomically.
#include <filesystem>
#include <memory>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

enum class FieldType { Integer, Smallint, Float, FixedChar, Memo, Date, Bytes };

struct FieldDef {
    std::string Name;
    FieldType Type = FieldType::Integer;
    int Size = 0;          // FixedChar: bytes in Shift-JIS
    bool Required = false;
};

// One field value. Dates travel as ISO text "yyyy-mm-dd"; blobs as byte strings.
class Value {
public:
    enum class Kind { Null, Int, Real, Text, Blob };
    Value() = default;
    Value(int v) : kind_(Kind::Int), i_(v) {}
    Value(long long v) : kind_(Kind::Int), i_(v) {}
    Value(double v) : kind_(Kind::Real), d_(v) {}
    Value(const char* s) : kind_(Kind::Text), s_(s) {}
    Value(std::string s) : kind_(Kind::Text), s_(std::move(s)) {}
    static Value Bytes(std::string b) {
        Value v;
        v.kind_ = Kind::Blob;
        v.s_ = std::move(b);
        return v;
    }
    Kind kind() const { return kind_; }
    bool IsNull() const { return kind_ == Kind::Null; }
    // Conversions as the platform's fields do them: null gives 0 / "".
    long long AsInt64() const;
    int AsInteger() const { return static_cast<int>(AsInt64()); }
    double AsFloat() const;
    std::string AsString() const;
    const std::string& Raw() const { return s_; }

private:
    Kind kind_ = Kind::Null;
    long long i_ = 0;
    double d_ = 0;
    std::string s_;
};

struct DbError : std::runtime_error {
    using std::runtime_error::runtime_error;
};
// Opening a table whose file or table does not exist.
struct TableNotFound : DbError {
    using DbError::DbError;
};
// Post of a row whose key another row already has.
struct KeyViolation : DbError {
    using DbError::DbError;
};

class Database;

// A write its owner holds back until the table file is next used: a derived table
// computed in several steps is written once, by whoever reads it first.
class HeldWrite {
public:
    virtual ~HeldWrite() = default;
    virtual void Write(Database& db) = 0;
};

// A prepared statement; statements are cached per SQL text by the database.
class Query {
public:
    Query() = default;
    Query(Database* db, sqlite3_stmt* stmt) : db_(db), stmt_(stmt) {}
    // Parameters are 1-based, as "?" appears in the SQL.
    Query& Bind(int index, const Value& v);
    Query& BindAll(const std::vector<Value>& values);
    // Binds a text without copying it: the string must stay as it is until the statement
    // has run (Exec, or the last Step). For writes of many rows.
    Query& BindTextRef(int index, const std::string& text);
    // Next row; false at the end.
    bool Step();
    int ColumnCount() const;
    std::string ColumnName(int i) const;
    Value Column(int i) const;
    Value Column(const std::string& name) const;
    // Column(i).AsString() and .AsInt64() without building a Value: for reads of many rows.
    std::string ColumnText(int i) const;
    long long ColumnInt(int i) const;
    // Runs to the end; the number of rows changed.
    int Exec();
    std::vector<std::vector<Value>> All();
    void Reset();
    bool Valid() const { return stmt_ != nullptr; }

private:
    Database* db_ = nullptr;
    sqlite3_stmt* stmt_ = nullptr;
};

class Database {
public:
    // Opens (creating when missing) the race file of the folder as the main database.
    explicit Database(std::filesystem::path folder);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    const std::filesystem::path& Folder() const { return folder_; }
    // Keeps the file locks between statements: no other connection can use the
    // files, and no statement pays for taking and checking the locks again.
    void HoldExclusively();
    static constexpr const char* RaceFile = "大会情報.db";

    bool TableExists(const std::string& file);
    void CreateTable(const std::string& file, const std::vector<FieldDef>& fields,
                     const std::vector<std::string>& keyFields);
    // Drops the table and removes its file (the race file is only emptied of its table).
    void DeleteTable(const std::string& file);
    std::vector<FieldDef> Fields(const std::string& file);
    std::vector<std::string> KeyFields(const std::string& file);

    // SQL may name tables as files: FROM temptable.db, "チーム情報001.db".
    // Those names are attached and resolved here, and nowhere else.
    Query Prepare(const std::string& sql);
    int Exec(const std::string& sql, const std::vector<Value>& params = {});
    std::string Resolve(const std::string& sql);
    // Qualified SQL name of a table file, attaching it when needed: "a3"."チーム情報001".
    // A missing file raises TableNotFound (and is not created).
    std::string SqlName(const std::string& file);

    // Transactions nest; only the outermost commits. A scope left by an exception rolls back.
    // A rollback at any depth dooms the whole transaction: the outermost Commit then rolls
    // back and throws. Files attach inside a transaction; a table file deleted inside one is
    // only dropped there and its file removed after the commit.
    void Begin();
    void Commit();
    void Rollback();
    bool InTransaction() const { return depth_ > 0; }
    sqlite3* Handle() const { return db_; }
    // Rows inserted, updated or deleted through this connection so far.
    long long TotalChanges() const;

    // Holds a write of the file back (replacing one held before) until the file is next
    // used by name, through SQL or through a cursor; deleting the table drops it, closing
    // the connection writes it. A held write that fails is not held any more.
    void HoldWrite(const std::string& file, std::unique_ptr<HeldWrite> write);
    HeldWrite* HeldWriteOf(const std::string& file) const;
    // Runs the file's held write now; false when none was held.
    bool WriteHeld(const std::string& file);
    // Commits to a file of derived data (rebuilt whenever it is lost) do not wait for the disk.
    void RelaxSync(const std::string& file);

private:
    friend class Query;
    friend class Table;
    struct Schema {
        std::vector<FieldDef> fields;
        std::vector<std::string> key;
    };
    std::string attach(const std::string& file);
    void detach(const std::string& file);
    void finalizeAll();
    // Engine failures: the file (the statement's files when not given) and what was being
    // done, in the desk's words, with the engine's text; the statement goes to stderr.
    [[noreturn]] void fail(const std::string& sql, const std::string& file = {});
    std::string failureText(const std::string& sql, const std::string& file = {}) const;
    std::string filesOf(const std::string& sql) const;
    std::string missingText(const std::string& file) const { return (folder_ / file).string() + " が見つかりません。"; }
    // SQL that already names tables by their schema: no file names to resolve.
    Query prepareResolved(const std::string& sql);
    void run(const std::string& sql);
    std::string schemaOf(const std::string& file, bool create = false);
    bool hasTable(const std::string& schema, const std::string& name);
    void dropTable(const std::string& file);
    void removeFile(const std::string& file);
    void releaseStatements(const std::string& schema, bool finalize);
    void endTransaction(bool commit);
    const Schema& schema(const std::string& file);

    std::filesystem::path folder_;
    sqlite3* db_ = nullptr;
    std::map<std::string, std::string> schemas_;    // file -> schema alias
    std::map<std::string, sqlite3_stmt*> stmtCache_;
    int depth_ = 0;
    bool rollbackOnly_ = false;
    int nextAlias_ = 1;
    std::map<std::string, Schema> schemaCache_;     // file -> field defs and key
    std::set<std::string> removeAfterCommit_;       // table files dropped inside the transaction
    std::map<std::string, std::unique_ptr<HeldWrite>> held_;
    std::set<std::string> relaxed_;                 // files written without waiting for the disk
};

class Transaction {
public:
    explicit Transaction(Database& db) : db_(db) { db_.Begin(); }
    ~Transaction() {
        if (!done_) db_.Rollback();
    }
    void Commit() {
        db_.Commit();
        done_ = true;
    }
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

private:
    Database& db_;
    bool done_ = false;
};

// A cursor over one table in key order, as the system's table component is used:
// open, first/next/eof, find by key, edit/append/post, delete, blobs.
// As that component does: moving (First, Next, FindKey, Append) posts a changed row being
// edited and drops an unchanged one; Edit on an empty table appends; Next past the last row
// sets Eof and keeps the last row current; Close drops an unposted row.
class Table {
public:
    enum class State { Inactive, Browse, Edit, Insert };
    Table() = default;
    void SetDatabase(Database* db) { db_ = db; }
    Database* GetDatabase() const { return db_; }
    void SetTableName(const std::string& file) { file_ = file; }
    const std::string& TableName() const { return file_; }

    bool Exists() const;
    // Throws TableNotFound when the table does not exist (callers create it then).
    void Open();
    void Close();
    bool Active() const { return state_ != State::Inactive; }
    State GetState() const { return state_; }
    void CreateTable(const std::vector<FieldDef>& fields, const std::vector<std::string>& keyFields);
    void DeleteTable();
    int FieldCount() const { return static_cast<int>(fields_.size()); }
    const std::vector<FieldDef>& FieldDefs() const { return fields_; }
    int RecordCount() const;

    void First();
    void Next();
    bool Eof() const {
        sync();
        return eof_;
    }
    // Positions on the row with this key; false (position unchanged) when missing.
    bool FindKey(const std::vector<Value>& key);

    void Edit();
    void Append();      // new row, posted as an insert
    void Post();        // insert or update in place, key included; KeyViolation on a duplicate
    void Cancel();
    void Delete();      // deletes the current row; the cursor moves to the next

    Value Field(const std::string& name) const;
    int FieldInt(const std::string& name) const { return Field(name).AsInteger(); }
    std::string FieldStr(const std::string& name) const { return Field(name).AsString(); }
    // Sets a field of the row being edited; a FixedChar text is cut to its size
    // in Shift-JIS bytes at a character boundary, trailing blanks removed.
    void SetField(const std::string& name, const Value& v);
    std::string ReadBlob(const std::string& name) const { return Field(name).Raw(); }
    void WriteBlob(const std::string& name, const std::string& bytes) { SetField(name, Value::Bytes(bytes)); }

private:
    void requireActive() const;
    // Runs a write held for the file; the rows read before are gone, so the cursor starts
    // again at the first row.
    void sync() const;
    void loadRow(long long rowid);
    void loadAt(bool first);
    int fieldIndex(const std::string& name) const;
    void buildSql();
    void buildWriteSql(const std::vector<std::string>& cols);
    bool loadFrom(Query& q);
    bool seekAfter();
    void checkBrowseMode();
    void setEmpty();

    Database* db_ = nullptr;
    std::string file_;
    std::vector<FieldDef> fields_;
    std::vector<std::string> key_;
    State state_ = State::Inactive;
    long long rowid_ = 0;
    std::vector<Value> row_;
    bool eof_ = true;
    bool modified_ = false;
    bool keyTouched_ = false;
    long long savedRowid_ = 0;  // the row to go back to when an append is cancelled
    std::vector<int> keyIdx_;
    std::string name_;          // qualified SQL name
    std::string select_, orderAsc_, orderDesc_, insert_, update_, updateNonKey_, next_, nextNull_;
    std::vector<std::string> findKey_;  // by the number of key values given
};
