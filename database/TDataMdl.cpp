#include "database/TDataMdl.h"

void TDataMdl::SetFolder(const std::filesystem::path& folder) {
    if (db_ && db_->Folder() == folder) return;
    CloseAll();
    db_ = std::make_unique<Database>(folder);
    for (Table* t : {&Table1, &Table2, &Table3, &Table4, &tmpTable, &tmpRepTable}) t->SetDatabase(db_.get());
}

void TDataMdl::CloseAll() {
    for (Table* t : {&Table1, &Table2, &Table3, &Table4, &tmpTable, &tmpRepTable}) {
        if (t->Active()) t->Close();
        t->SetDatabase(nullptr);
    }
    db_.reset();
}
