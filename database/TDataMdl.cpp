#include "database/TDataMdl.h"

#include "platform/Text.h"


Database& DataQuery::db() const {
    if (!db_) throw DbError("query has no database: " + sql_);
    return *db_;
}

void DataQuery::Open(const std::vector<Value>& params) {
    Close();
    Query q = db().Prepare(sql_);
    q.BindAll(params);
    for (int i = 0; i < q.ColumnCount(); ++i) {
        names_.push_back(q.ColumnName(i));
        index_.emplace(LowerAscii(names_.back()), i); // the first of equal names wins
    }
    rows_ = q.All();
    active_ = true;
}

int DataQuery::ExecSQL(const std::vector<Value>& params) {
    Close();
    return db().Exec(sql_, params);
}

void DataQuery::Close() {
    active_ = false;
    names_.clear();
    index_.clear();
    rows_.clear();
    pos_ = 0;
}

Value DataQuery::Field(int index) const {
    if (Eof() || index < 0 || index >= static_cast<int>(names_.size())) return Value();
    return rows_[pos_][index];
}

// Outputs read fields by name per team and leg from rows of some 300 fields: a map, not a walk.
Value DataQuery::Field(const std::string& name) const {
    auto it = index_.find(LowerAscii(name));
    if (it != index_.end()) return Field(it->second);
    throw DbError("no field named " + name + " in [" + sql_ + "]");
}

void TDataMdl::SetFolder(const std::filesystem::path& folder) {
    if (db_ && db_->Folder() == folder) return;
    CloseAll();
    db_ = std::make_unique<Database>(folder);
    // One program per race folder (the lock file sees to that).
    db_->HoldExclusively();
    for (Table* t : tables())
        t->SetDatabase(db_.get());
    for (DataQuery* q : queries())
        q->SetDatabase(db_.get());
}

void TDataMdl::CloseAll() {
    for (Table* t : tables()) {
        if (t->Active()) t->Close();
        t->SetDatabase(nullptr);
    }
    for (DataQuery* q : queries()) {
        q->Close();
        q->SetDatabase(nullptr);
    }
    db_.reset();
}
