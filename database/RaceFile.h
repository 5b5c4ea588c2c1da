#pragma once
// The race file "大会情報.db": edition row, the leg/passing/advanced-start blobs,
// and the lock file that marks a race as open.
#include <string>

constexpr const char* kLockFileName = "mylock.$$$";

bool LockFileOp(int op);
bool CreateLockFile();
void ReleaseLockFile();
bool CheckLockOnOpen();
void OpenTaikaiTable();
// False when nothing was written (no race open, or a cell that cannot be stored).
bool SaveTaikaiFields(bool onlyDirty);
void SaveKukanBlob();
void LoadKukanBlob();
void SaveInputBlob();
void LoadInputBlob();
void SaveKuriageBlob();
void LoadKuriageBlob();
