#include "platform/TableEngine.h"

#include "platform/Dates.h"
#include "platform/Text.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <iostream>
#include <iterator>
#include <sqlite3.h>
#include <strings.h>
#include <system_error>

namespace fs = std::filesystem;

namespace {

// Field definitions live next to the table in each file, so they come back exactly as created.
const char* const kMetaTable = "_fields";
const char* const kMainSchema = "main";

const char* const kTypeNames[] = {"Integer", "Smallint", "Float", "FixedChar", "Memo", "Date", "Bytes"};

std::string quoteId(const std::string& s) {
    return "\"" + ReplaceAll(s, "\"", "\"\"") + "\"";
}

std::string qualified(const std::string& schema, const std::string& name) {
    return quoteId(schema) + "." + quoteId(name);
}

std::string baseName(const std::string& file) {
    return EndsWith(file, ".db") ? file.substr(0, file.size() - 3) : file;
}

bool identByte(char c) {
    const auto u = static_cast<unsigned char>(c);
    return std::isalnum(u) || u == '_' || u >= 0x80;
}

const char* sqlType(FieldType t) {
    switch (t) {
    case FieldType::Integer:
    case FieldType::Smallint:
        return "INTEGER";
    case FieldType::Float:
        return "REAL";
    case FieldType::Bytes:
        return "BLOB";
    default:
        return "TEXT";
    }
}

FieldType typeFromName(const std::string& name) {
    for (int i = 0; i < static_cast<int>(std::size(kTypeNames)); ++i)
        if (name == kTypeNames[i]) return static_cast<FieldType>(i);
    throw DbError("unknown field type in table definition: " + name);
}

Value columnValue(sqlite3_stmt* st, int i) {
    switch (sqlite3_column_type(st, i)) {
    case SQLITE_INTEGER:
        return Value(static_cast<long long>(sqlite3_column_int64(st, i)));
    case SQLITE_FLOAT:
        return Value(sqlite3_column_double(st, i));
    case SQLITE_TEXT:
        return Value(std::string(reinterpret_cast<const char*>(sqlite3_column_text(st, i)),
                                 sqlite3_column_bytes(st, i)));
    case SQLITE_BLOB: {
        const auto* p = static_cast<const char*>(sqlite3_column_blob(st, i));
        return Value::Bytes(p ? std::string(p, sqlite3_column_bytes(st, i)) : std::string());
    }
    default:
        return Value();
    }
}

int bindValue(sqlite3_stmt* st, int i, const Value& v) {
    switch (v.kind()) {
    case Value::Kind::Int:
        return sqlite3_bind_int64(st, i, v.AsInt64());
    case Value::Kind::Real:
        return sqlite3_bind_double(st, i, v.AsFloat());
    case Value::Kind::Text:
        return sqlite3_bind_text(st, i, v.Raw().data(), static_cast<int>(v.Raw().size()), SQLITE_TRANSIENT);
    case Value::Kind::Blob:
        // An empty blob bound through bind_blob would become NULL.
        if (v.Raw().empty()) return sqlite3_bind_zeroblob(st, i, 0);
        return sqlite3_bind_blob(st, i, v.Raw().data(), static_cast<int>(v.Raw().size()), SQLITE_TRANSIENT);
    default:
        return sqlite3_bind_null(st, i);
    }
}

// A value as the field stores it.
Value fieldValue(const FieldDef& f, const Value& v) {
    if (v.IsNull()) return v;
    switch (f.Type) {
    case FieldType::Integer:
    case FieldType::Smallint:
        return Value(v.AsInt64());
    case FieldType::Float:
        return Value(v.AsFloat());
    case FieldType::FixedChar: {
        // Shift-JIS never takes more bytes than UTF-8, so a text that fits in UTF-8 needs no cut.
        std::string text = v.AsString();
        if (static_cast<int>(text.size()) > f.Size) text = CutSjis(text, f.Size);
        return Value(TrimRight(text));
    }
    case FieldType::Memo:
        return Value(v.AsString());
    case FieldType::Date: {
        const std::string text = Trim(v.AsString());
        return text.empty() ? Value() : Value(DateToIso(StrToDate(text)));
    }
    case FieldType::Bytes:
        return Value::Bytes(v.kind() == Value::Kind::Blob ? v.Raw() : v.AsString());
    }
    return v;
}

std::string joined(const std::vector<std::string>& items, const std::string& sep) {
    std::string out;
    for (size_t i = 0; i < items.size(); ++i)
        out += (i ? sep : "") + items[i];
    return out;
}

// What a statement was doing, in the desk's words.
std::string doingOf(const std::string& sql) {
    const std::string t = Trim(sql);
    const std::string word = UpperAscii(t.substr(0, t.find_first_of(" \t\r\n(")));
    if (word == "SELECT" || word == "WITH") return "読み込み";
    if (word == "INSERT" || word == "UPDATE" || word == "DELETE" || word == "REPLACE") return "書き込み";
    if (word == "CREATE") return "作成";
    if (word == "DROP") return "削除";
    if (word == "ATTACH" || word == "PRAGMA") return "オープン";
    if (word == "COMMIT") return "保存";
    return "処理";
}

std::string param(size_t i) {
    return "?" + std::to_string(i + 1);
}

// Lexicographic "(terms) > (params)" where NULL sorts first, as ORDER BY has it.
std::string afterCondition(const std::vector<std::string>& terms, bool anyNull) {
    std::vector<std::string> params;
    for (size_t i = 0; i < terms.size(); ++i)
        params.push_back(param(i));
    // Row values use the key index; they only fail when the current key holds a NULL.
    if (!anyNull) return "(" + joined(terms, ", ") + ") > (" + joined(params, ", ") + ")";
    std::vector<std::string> alternatives;
    for (size_t i = 0; i < terms.size(); ++i) {
        std::vector<std::string> parts;
        for (size_t j = 0; j < i; ++j)
            parts.push_back(terms[j] + " IS " + params[j]);
        parts.push_back("(" + terms[i] + " > " + params[i] + " OR (" + params[i] + " IS NULL AND " +
                        terms[i] + " IS NOT NULL))");
        alternatives.push_back("(" + joined(parts, " AND ") + ")");
    }
    return joined(alternatives, " OR ");
}

} // namespace

// ---- Value ----

long long Value::AsInt64() const {
    switch (kind_) {
    case Kind::Int:
        return i_;
    case Kind::Real:
        return std::llround(d_);
    case Kind::Text:
        return StrToIntDef(s_, 0);
    default:
        return 0;
    }
}

double Value::AsFloat() const {
    switch (kind_) {
    case Kind::Int:
        return static_cast<double>(i_);
    case Kind::Real:
        return d_;
    case Kind::Text:
        return StrToFloatDef(s_, 0);
    default:
        return 0;
    }
}

std::string Value::AsString() const {
    switch (kind_) {
    case Kind::Int:
        return IntToStr(i_);
    case Kind::Real:
        return FloatToStrG(d_);
    case Kind::Text:
    case Kind::Blob:
        return s_;
    default:
        return {};
    }
}

// ---- Query ----

Query& Query::Bind(int index, const Value& v) {
    if (!stmt_) throw DbError("Bind on an unprepared query");
    if (bindValue(stmt_, index, v) != SQLITE_OK) db_->fail(sqlite3_sql(stmt_));
    return *this;
}

Query& Query::BindTextRef(int index, const std::string& text) {
    if (!stmt_) throw DbError("Bind on an unprepared query");
    if (sqlite3_bind_text(stmt_, index, text.data(), static_cast<int>(text.size()), SQLITE_STATIC) !=
        SQLITE_OK)
        db_->fail(sqlite3_sql(stmt_));
    return *this;
}

Query& Query::BindAll(const std::vector<Value>& values) {
    for (size_t i = 0; i < values.size(); ++i)
        Bind(static_cast<int>(i + 1), values[i]);
    return *this;
}

bool Query::Step() {
    if (!stmt_) throw DbError("Step on an unprepared query");
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    const int code = sqlite3_extended_errcode(db_->db_);
    const std::string msg = db_->failureText(sqlite3_sql(stmt_));
    sqlite3_reset(stmt_);
    if (code == SQLITE_CONSTRAINT_UNIQUE || code == SQLITE_CONSTRAINT_PRIMARYKEY) throw KeyViolation(msg);
    throw DbError(msg);
}

int Query::ColumnCount() const {
    return stmt_ ? sqlite3_column_count(stmt_) : 0;
}

std::string Query::ColumnName(int i) const {
    const char* name = stmt_ ? sqlite3_column_name(stmt_, i) : nullptr;
    return name ? name : "";
}

Value Query::Column(int i) const {
    if (!stmt_ || i < 0 || i >= ColumnCount()) throw DbError("no column " + std::to_string(i));
    return columnValue(stmt_, i);
}

std::string Query::ColumnText(int i) const {
    if (!stmt_ || i < 0 || i >= ColumnCount()) throw DbError("no column " + std::to_string(i));
    switch (sqlite3_column_type(stmt_, i)) {
    case SQLITE_NULL:
        return {};
    case SQLITE_TEXT:
        return std::string(reinterpret_cast<const char*>(sqlite3_column_text(stmt_, i)),
                           sqlite3_column_bytes(stmt_, i));
    default:
        return columnValue(stmt_, i).AsString();
    }
}

long long Query::ColumnInt(int i) const {
    if (!stmt_ || i < 0 || i >= ColumnCount()) throw DbError("no column " + std::to_string(i));
    if (sqlite3_column_type(stmt_, i) == SQLITE_INTEGER) return sqlite3_column_int64(stmt_, i);
    return columnValue(stmt_, i).AsInt64();
}

Value Query::Column(const std::string& name) const {
    for (int i = 0; i < ColumnCount(); ++i)
        if (strcasecmp(sqlite3_column_name(stmt_, i), name.c_str()) == 0) return columnValue(stmt_, i);
    throw DbError("no column named " + name);
}

int Query::Exec() {
    while (Step()) {
    }
    const int changed = sqlite3_changes(db_->db_);
    sqlite3_reset(stmt_);
    return changed;
}

std::vector<std::vector<Value>> Query::All() {
    std::vector<std::vector<Value>> rows;
    while (Step()) {
        std::vector<Value> row;
        for (int i = 0; i < ColumnCount(); ++i)
            row.push_back(columnValue(stmt_, i));
        rows.push_back(std::move(row));
    }
    sqlite3_reset(stmt_);
    return rows;
}

void Query::Reset() {
    if (stmt_) sqlite3_reset(stmt_);
}

// ---- Database: connection and SQL ----

Database::Database(fs::path folder) : folder_(std::move(folder)) {
    // The library's allocation statistics take a process-wide lock on every allocation and
    // nothing reads them. Only possible before the library starts (the first open).
    static const int noMemStatus = sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0);
    (void)noMemStatus;
    const fs::path file = folder_ / RaceFile;
    // One connection used by one thread: no per-call locking inside the library.
    const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX;
    if (sqlite3_open_v2(file.c_str(), &db_, flags, nullptr) != SQLITE_OK) {
        const std::string msg = db_ ? sqlite3_errmsg(db_) : "out of memory";
        sqlite3_close(db_);
        db_ = nullptr;
        std::cerr << "tavren: " << msg << " [open " << file.string() << "]\n";
        throw DbError(file.string() + " のオープンに失敗しました。\n" + msg);
    }
    sqlite3_extended_result_codes(db_, 1);
    try {
        // A rollback journal (not WAL) lets one commit span the race file and attached files.
        run("PRAGMA journal_mode=DELETE");
        run("PRAGMA synchronous=FULL");
        run("PRAGMA foreign_keys=OFF");
    } catch (...) {
        sqlite3_close(db_);
        throw;
    }
}

void Database::HoldExclusively() { run("PRAGMA locking_mode=EXCLUSIVE"); }

Database::~Database() {
    // The last computation survives the program, as its table would.
    while (!held_.empty()) {
        try {
            WriteHeld(held_.begin()->first);
        } catch (const std::exception&) {
            // Derived data: the next computation rebuilds it.
        }
    }
    finalizeAll();
    sqlite3_close(db_); // an open transaction rolls back here
}

long long Database::TotalChanges() const {
    return sqlite3_total_changes64(db_);
}

// ---- Database: held writes ----

void Database::HoldWrite(const std::string& file, std::unique_ptr<HeldWrite> write) {
    held_[file] = std::move(write);
}

HeldWrite* Database::HeldWriteOf(const std::string& file) const {
    auto it = held_.find(file);
    return it == held_.end() ? nullptr : it->second.get();
}

bool Database::WriteHeld(const std::string& file) {
    if (held_.empty()) return false;
    auto it = held_.find(file);
    if (it == held_.end()) return false;
    // Taken out first: the write uses the file by name itself.
    std::unique_ptr<HeldWrite> write = std::move(it->second);
    held_.erase(it);
    write->Write(*this);
    return true;
}

void Database::RelaxSync(const std::string& file) {
    if (!relaxed_.insert(file).second) return;
    auto it = schemas_.find(file);
    if (it != schemas_.end() && sqlite3_get_autocommit(db_))
        run("PRAGMA " + quoteId(it->second) + ".synchronous=OFF");
}

void Database::fail(const std::string& sql, const std::string& file) {
    throw DbError(failureText(sql, file));
}

// The files a resolved statement names, by their schema aliases; the race file when none.
std::string Database::filesOf(const std::string& sql) const {
    std::vector<std::string> paths;
    for (const auto& [file, alias] : schemas_)
        if (sql.find(quoteId(alias) + ".") != std::string::npos) paths.push_back((folder_ / file).string());
    if (paths.empty() || sql.find(quoteId(kMainSchema) + ".") != std::string::npos)
        paths.insert(paths.begin(), (folder_ / RaceFile).string());
    return joined(paths, "、");
}

// The engine's failure as the desk reads it: the file and what was being done, then the
// engine's own words. The statement goes to the log, never into a message box.
std::string Database::failureText(const std::string& sql, const std::string& file) const {
    const std::string engine = sqlite3_errmsg(db_);
    std::cerr << "tavren: " << engine << " [" << sql << "]\n";
    const std::string where = !file.empty() ? file : doingOf(sql) == "保存" ? folder_.string() : filesOf(sql);
    return where + " の" + doingOf(sql) + "に失敗しました。\n" + engine;
}

void Database::run(const std::string& sql) {
    if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) fail(sql);
}

void Database::finalizeAll() {
    for (auto& [sql, st] : stmtCache_)
        sqlite3_finalize(st);
    stmtCache_.clear();
}

Query Database::prepareResolved(const std::string& sql) {
    auto it = stmtCache_.find(sql);
    if (it != stmtCache_.end()) {
        sqlite3_reset(it->second);
        sqlite3_clear_bindings(it->second);
        return Query(this, it->second);
    }
    sqlite3_stmt* st = nullptr;
    const char* tail = nullptr;
    if (sqlite3_prepare_v3(db_, sql.c_str(), static_cast<int>(sql.size()) + 1, SQLITE_PREPARE_PERSISTENT, &st,
                           &tail) != SQLITE_OK)
        fail(sql);
    if (!st || Trim(ReplaceAll(tail ? tail : "", ";", "")) != "") {
        sqlite3_finalize(st);
        throw DbError("expected exactly one SQL statement [" + sql + "]");
    }
    stmtCache_.emplace(sql, st);
    return Query(this, st);
}

Query Database::Prepare(const std::string& sql) {
    return prepareResolved(Resolve(sql));
}

int Database::Exec(const std::string& sql, const std::vector<Value>& params) {
    return Prepare(sql).BindAll(params).Exec();
}

std::string Database::Resolve(const std::string& sql) {
    std::string out;
    size_t i = 0;
    const size_t n = sql.size();
    while (i < n) {
        const char c = sql[i];
        if (c == '\'' || c == '"') {
            const size_t close = sql.find(c, i + 1);
            const size_t j = close == std::string::npos ? n : close + 1;
            const std::string inner = sql.substr(i + 1, j - i - 2);
            const bool isFile = c == '"' && close != std::string::npos && EndsWith(inner, ".db");
            out += isFile ? SqlName(inner) : sql.substr(i, j - i);
            i = j;
        } else if (identByte(c)) {
            size_t j = i;
            while (j < n && identByte(sql[j]))
                ++j;
            const bool isFile = sql.compare(j, 3, ".db") == 0 && (j + 3 == n || !identByte(sql[j + 3]));
            out += isFile ? SqlName(sql.substr(i, j + 3 - i)) : sql.substr(i, j - i);
            i = isFile ? j + 3 : j;
        } else {
            out += c;
            ++i;
        }
    }
    return out;
}

std::string Database::SqlName(const std::string& file) {
    return qualified(schemaOf(file), baseName(file));
}

std::string Database::schemaOf(const std::string& file, bool create) {
    WriteHeld(file);
    if (file == RaceFile) return kMainSchema;
    // Attaching would create the file: only a create may do that.
    if (!create && !schemas_.count(file) && !fs::exists(folder_ / file))
        throw TableNotFound(missingText(file));
    return attach(file);
}

std::string Database::attach(const std::string& file) {
    auto it = schemas_.find(file);
    if (it != schemas_.end()) return it->second;
    const std::string alias = "a" + std::to_string(nextAlias_++);
    sqlite3_stmt* st = nullptr;
    const std::string sql = "ATTACH DATABASE ?1 AS " + quoteId(alias);
    if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &st, nullptr) != SQLITE_OK) fail(sql);
    const std::string path = (folder_ / file).string();
    sqlite3_bind_text(st, 1, path.c_str(), -1, SQLITE_TRANSIENT);
    const int rc = sqlite3_step(st);
    sqlite3_finalize(st);
    if (rc != SQLITE_DONE) fail(sql, path);
    // Inside a transaction the safety level cannot change; attached files then keep the
    // library's default, which is FULL as well.
    if (sqlite3_get_autocommit(db_))
        run("PRAGMA " + quoteId(alias) + ".synchronous=" + (relaxed_.count(file) ? "OFF" : "FULL"));
    schemas_[file] = alias;
    return alias;
}

// A statement left unfinished would lock its tables against DROP and its file against DETACH.
void Database::releaseStatements(const std::string& schema, bool finalize) {
    const std::string prefix = quoteId(schema) + ".";
    for (auto s = stmtCache_.begin(); s != stmtCache_.end();) {
        if (s->first.find(prefix) == std::string::npos) {
            ++s;
        } else if (!finalize) {
            sqlite3_reset(s->second);
            ++s;
        } else {
            sqlite3_finalize(s->second);
            s = stmtCache_.erase(s);
        }
    }
}

void Database::detach(const std::string& file) {
    auto it = schemas_.find(file);
    if (it == schemas_.end()) return;
    releaseStatements(it->second, true);
    run("DETACH DATABASE " + quoteId(it->second));
    schemas_.erase(it);
    schemaCache_.erase(file);
}

// ---- Database: tables ----

bool Database::hasTable(const std::string& schema, const std::string& name) {
    Query q = prepareResolved("SELECT 1 FROM " + qualified(schema, "sqlite_master") +
                              " WHERE type='table' AND name=?1");
    const bool found = q.Bind(1, Value(name)).Step();
    q.Reset();
    return found;
}

bool Database::TableExists(const std::string& file) {
    WriteHeld(file);
    if (file != RaceFile && !schemas_.count(file) && !fs::exists(folder_ / file)) return false;
    return hasTable(schemaOf(file), baseName(file));
}

void Database::CreateTable(const std::string& file, const std::vector<FieldDef>& fields,
                           const std::vector<std::string>& keyFields) {
    std::vector<std::string> columns;
    for (const FieldDef& f : fields)
        columns.push_back(quoteId(f.Name) + " " + sqlType(f.Type) + (f.Required ? " NOT NULL" : ""));
    std::vector<std::string> keys;
    for (const std::string& k : keyFields)
        keys.push_back(quoteId(k));
    if (columns.empty()) throw DbError("a table needs fields: " + file);

    const std::string schema = schemaOf(file, true), base = baseName(file);
    const std::string meta = qualified(schema, kMetaTable);
    releaseStatements(schema, false);
    Transaction t(*this);
    // As the platform's create does, an existing table of that name is replaced.
    run("DROP TABLE IF EXISTS " + qualified(schema, base));
    run("DROP TABLE IF EXISTS " + meta);
    run("CREATE TABLE " + qualified(schema, base) + " (" + joined(columns, ", ") + ")");
    if (!keys.empty())
        run("CREATE UNIQUE INDEX " + qualified(schema, base + "_key") + " ON " + quoteId(base) + " (" +
            joined(keys, ", ") + ")");
    run("CREATE TABLE " + meta +
        " (Pos INTEGER, Name TEXT, Type TEXT, Size INTEGER, Required INTEGER, KeyPos INTEGER)");
    for (size_t i = 0; i < fields.size(); ++i) {
        const FieldDef& f = fields[i];
        const auto k = std::find(keyFields.begin(), keyFields.end(), f.Name);
        const long long keyPos = k == keyFields.end() ? 0 : (k - keyFields.begin()) + 1;
        prepareResolved("INSERT INTO " + meta + " VALUES (?1, ?2, ?3, ?4, ?5, ?6)")
            .BindAll({Value(static_cast<long long>(i)), Value(f.Name),
                      Value(kTypeNames[static_cast<int>(f.Type)]), Value(f.Size), Value(f.Required ? 1 : 0),
                      Value(keyPos)})
            .Exec();
    }
    schemaCache_.erase(file);
    removeAfterCommit_.erase(file);
    t.Commit();
}

void Database::dropTable(const std::string& file) {
    const std::string schema = schemaOf(file);
    releaseStatements(schema, false);
    Transaction t(*this);
    run("DROP TABLE IF EXISTS " + qualified(schema, baseName(file)));
    run("DROP TABLE IF EXISTS " + qualified(schema, kMetaTable));
    schemaCache_.erase(file);
    t.Commit();
}

void Database::removeFile(const std::string& file) {
    detach(file);
    std::error_code ec;
    fs::remove(folder_ / (file + "-journal"), ec);
    if (!fs::remove(folder_ / file, ec) && ec)
        throw DbError((folder_ / file).string() + " の削除に失敗しました。\n" + ec.message());
}

void Database::DeleteTable(const std::string& file) {
    held_.erase(file); // what it would have written goes with the table
    const bool fileThere = file != RaceFile && (schemas_.count(file) || fs::exists(folder_ / file));
    if (!fileThere && !TableExists(file)) throw TableNotFound(missingText(file));
    if (file == RaceFile) return dropTable(file);
    if (!InTransaction()) return removeFile(file);
    // DETACH is refused inside a transaction: drop now, remove the file once committed.
    dropTable(file);
    removeAfterCommit_.insert(file);
}

const Database::Schema& Database::schema(const std::string& file) {
    auto it = schemaCache_.find(file);
    if (it != schemaCache_.end()) return it->second;
    if (!TableExists(file)) throw TableNotFound(missingText(file));
    Query q = prepareResolved("SELECT Name, Type, Size, Required, KeyPos FROM " +
                              qualified(schemaOf(file), kMetaTable) + " ORDER BY Pos");
    Schema s;
    std::map<long long, std::string> keys;
    while (q.Step()) {
        FieldDef f{q.Column(0).AsString(), typeFromName(q.Column(1).AsString()), q.Column(2).AsInteger(),
                   q.Column(3).AsInteger() != 0};
        if (q.Column(4).AsInt64() > 0) keys[q.Column(4).AsInt64()] = f.Name;
        s.fields.push_back(std::move(f));
    }
    for (auto& [pos, name] : keys)
        s.key.push_back(name);
    return schemaCache_[file] = std::move(s);
}

std::vector<FieldDef> Database::Fields(const std::string& file) {
    return schema(file).fields;
}

std::vector<std::string> Database::KeyFields(const std::string& file) {
    return schema(file).key;
}

// ---- Database: transactions ----

void Database::Begin() {
    if (depth_ == 0) {
        // Deferred: only the files a transaction writes take a journal, so a save of one
        // file pays no super-journal; a commit over several files stays atomic.
        run("BEGIN");
        rollbackOnly_ = false;
    }
    ++depth_;
}

void Database::Commit() {
    if (depth_ == 0) throw DbError("Commit without Begin");
    if (--depth_ > 0) return;
    if (rollbackOnly_) {
        endTransaction(false);
        throw DbError("the transaction was rolled back");
    }
    endTransaction(true);
}

void Database::Rollback() {
    if (depth_ == 0) return;
    rollbackOnly_ = true;
    if (--depth_ == 0) endTransaction(false);
}

void Database::endTransaction(bool commit) {
    rollbackOnly_ = false;
    if (commit && sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK) {
        const std::string msg = failureText("COMMIT");
        endTransaction(false);
        throw DbError(msg);
    }
    std::set<std::string> pending;
    pending.swap(removeAfterCommit_);
    if (!commit) {
        if (!sqlite3_get_autocommit(db_)) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
        schemaCache_.clear(); // created or dropped tables are back as they were
        return;
    }
    for (const std::string& file : pending)
        if (!TableExists(file)) removeFile(file);
}

// ---- Table ----

void Table::requireActive() const {
    if (!Active()) throw DbError("table is not open: " + file_);
}

void Table::sync() const {
    if (!db_ || !db_->WriteHeld(file_) || !Active()) return;
    auto& self = const_cast<Table&>(*this);
    self.state_ = State::Browse;
    self.modified_ = self.keyTouched_ = false;
    self.loadAt(true);
}

bool Table::Exists() const {
    return db_ && db_->TableExists(file_);
}

void Table::Open() {
    if (Active()) return;
    if (!db_) throw DbError("table has no database: " + file_);
    if (!db_->TableExists(file_)) throw TableNotFound(db_->missingText(file_));
    const Database::Schema& s = db_->schema(file_);
    fields_ = s.fields;
    key_ = s.key;
    keyIdx_.clear();
    for (const std::string& k : key_)
        keyIdx_.push_back(fieldIndex(k));
    name_ = db_->SqlName(file_);
    buildSql();
    state_ = State::Browse;
    loadAt(true);
}

void Table::buildSql() {
    std::vector<std::string> cols, asc, desc, conds;
    for (const FieldDef& f : fields_)
        cols.push_back(quoteId(f.Name));
    findKey_.clear();
    for (size_t i = 0; i < key_.size(); ++i) {
        asc.push_back(quoteId(key_[i]));
        desc.push_back(quoteId(key_[i]) + " DESC");
        conds.push_back(quoteId(key_[i]) + " IS " + param(i));
    }
    const std::vector<std::string> terms = [&] {
        auto t = asc;
        t.push_back("rowid");
        return t;
    }();
    asc.push_back("rowid");
    desc.push_back("rowid DESC");
    select_ = "SELECT rowid, " + joined(cols, ", ") + " FROM " + name_;
    orderAsc_ = " ORDER BY " + joined(asc, ", ") + " LIMIT 1";
    orderDesc_ = " ORDER BY " + joined(desc, ", ") + " LIMIT 1";
    next_ = select_ + " WHERE " + afterCondition(terms, false) + orderAsc_;
    nextNull_ = select_ + " WHERE " + afterCondition(terms, true) + orderAsc_;
    for (size_t n = 1; n <= conds.size(); ++n)
        findKey_.push_back(select_ + " WHERE " + joined({conds.begin(), conds.begin() + n}, " AND ") +
                           orderAsc_);
    buildWriteSql(cols);
}

// Parameters are numbered by field, so one binding of the row serves every statement.
void Table::buildWriteSql(const std::vector<std::string>& cols) {
    std::vector<std::string> params, sets, nonKeySets;
    for (size_t i = 0; i < cols.size(); ++i) {
        params.push_back(param(i));
        sets.push_back(cols[i] + "=" + param(i));
        if (std::find(keyIdx_.begin(), keyIdx_.end(), static_cast<int>(i)) == keyIdx_.end())
            nonKeySets.push_back(sets.back());
    }
    insert_ = "INSERT INTO " + name_ + " (" + joined(cols, ", ") + ") VALUES (" + joined(params, ", ") + ")";
    const std::string where = " WHERE rowid=" + param(cols.size());
    update_ = "UPDATE " + name_ + " SET " + joined(sets, ", ") + where;
    // Most edits leave the key alone: not naming it spares the index update.
    updateNonKey_ =
        nonKeySets.empty() ? update_ : "UPDATE " + name_ + " SET " + joined(nonKeySets, ", ") + where;
}

void Table::Close() {
    state_ = State::Inactive;
    fields_.clear();
    key_.clear();
    keyIdx_.clear();
    row_.clear();
    rowid_ = 0;
    eof_ = true;
    modified_ = false;
}

void Table::CreateTable(const std::vector<FieldDef>& fields, const std::vector<std::string>& keyFields) {
    if (!db_) throw DbError("table has no database: " + file_);
    if (Active()) throw DbError("cannot create an open table: " + file_);
    db_->CreateTable(file_, fields, keyFields);
}

void Table::DeleteTable() {
    if (!db_) throw DbError("table has no database: " + file_);
    if (Active()) throw DbError("cannot delete an open table: " + file_);
    db_->DeleteTable(file_);
}

int Table::RecordCount() const {
    requireActive();
    sync();
    Query q = db_->prepareResolved("SELECT count(*) FROM " + name_);
    q.Step();
    const int n = q.Column(0).AsInteger();
    q.Reset();
    return n;
}

void Table::setEmpty() {
    rowid_ = 0;
    row_.assign(fields_.size(), Value());
}

// Takes the row the query stands on, if any; the query is reset either way.
bool Table::loadFrom(Query& q) {
    const bool found = q.Step();
    if (found) {
        rowid_ = q.Column(0).AsInt64();
        row_.resize(fields_.size());
        for (size_t i = 0; i < fields_.size(); ++i)
            row_[i] = q.Column(static_cast<int>(i) + 1);
    }
    q.Reset();
    return found;
}

void Table::loadRow(long long rowid) {
    Query q = db_->prepareResolved(select_ + " WHERE rowid=?1");
    q.Bind(1, Value(rowid));
    if (!loadFrom(q)) setEmpty();
}

void Table::loadAt(bool first) {
    Query q = db_->prepareResolved(select_ + (first ? orderAsc_ : orderDesc_));
    const bool found = loadFrom(q);
    if (!found) setEmpty();
    eof_ = !found || !first;
}

bool Table::seekAfter() {
    bool anyNull = false;
    for (int i : keyIdx_)
        anyNull = anyNull || row_[i].IsNull();
    Query q = db_->prepareResolved(anyNull ? nextNull_ : next_);
    int n = 0;
    for (int i : keyIdx_)
        q.Bind(++n, row_[i]);
    q.Bind(++n, Value(rowid_));
    return loadFrom(q);
}

void Table::checkBrowseMode() {
    if (state_ == State::Browse) return;
    if (modified_)
        Post();
    else
        Cancel();
}

void Table::First() {
    requireActive();
    sync();
    checkBrowseMode();
    loadAt(true);
}

void Table::Next() {
    requireActive();
    sync();
    checkBrowseMode();
    eof_ = rowid_ == 0 || !seekAfter();
}

bool Table::FindKey(const std::vector<Value>& key) {
    requireActive();
    sync();
    checkBrowseMode();
    if (key.empty() || key.size() > key_.size())
        throw DbError("FindKey needs 1 to " + std::to_string(key_.size()) + " key values: " + file_);
    Query q = db_->prepareResolved(findKey_[key.size() - 1]);
    for (size_t i = 0; i < key.size(); ++i)
        q.Bind(static_cast<int>(i) + 1, fieldValue(fields_[keyIdx_[i]], key[i]));
    if (!loadFrom(q)) return false;
    eof_ = false;
    return true;
}

void Table::Edit() {
    requireActive();
    sync();
    if (state_ != State::Browse) return;
    if (rowid_ == 0) return Append();
    savedRowid_ = rowid_;
    state_ = State::Edit;
    modified_ = keyTouched_ = false;
}

void Table::Append() {
    requireActive();
    sync();
    checkBrowseMode();
    savedRowid_ = rowid_;
    row_.assign(fields_.size(), Value());
    state_ = State::Insert;
    modified_ = false;
}

void Table::Post() {
    requireActive();
    sync();
    if (state_ == State::Browse) throw DbError("table is not in edit or insert state: " + file_);
    const bool insert = state_ == State::Insert;
    Query q = db_->prepareResolved(insert ? insert_ : keyTouched_ ? update_ : updateNonKey_);
    q.BindAll(row_);
    if (!insert) q.Bind(static_cast<int>(row_.size()) + 1, Value(rowid_));
    q.Exec(); // a failure leaves the row in its edit state, the table unchanged
    if (insert) rowid_ = sqlite3_last_insert_rowid(db_->Handle());
    state_ = State::Browse;
    modified_ = keyTouched_ = false;
    eof_ = false;
}

void Table::Cancel() {
    requireActive();
    sync();
    if (state_ == State::Browse) return;
    state_ = State::Browse;
    modified_ = false;
    loadRow(savedRowid_);
}

void Table::Delete() {
    requireActive();
    sync();
    if (state_ == State::Insert) return Cancel();
    if (rowid_ == 0) throw DbError("no row to delete: " + file_);
    if (state_ == State::Edit) Cancel(); // the key of the stored row finds the next one
    db_->prepareResolved("DELETE FROM " + name_ + " WHERE rowid=?1").Bind(1, Value(rowid_)).Exec();
    eof_ = !seekAfter();
    if (eof_) loadAt(false);
}

int Table::fieldIndex(const std::string& name) const {
    for (size_t i = 0; i < fields_.size(); ++i)
        if (strcasecmp(fields_[i].Name.c_str(), name.c_str()) == 0) return static_cast<int>(i);
    throw DbError("field not found: " + name + " in " + file_);
}

Value Table::Field(const std::string& name) const {
    requireActive();
    sync();
    return row_[fieldIndex(name)];
}

void Table::SetField(const std::string& name, const Value& v) {
    requireActive();
    sync();
    if (state_ == State::Browse) throw DbError("table is not in edit or insert state: " + file_);
    const int i = fieldIndex(name);
    row_[i] = fieldValue(fields_[i], v);
    modified_ = true;
    keyTouched_ = keyTouched_ || std::find(keyIdx_.begin(), keyIdx_.end(), i) != keyIdx_.end();
}
