#pragma once
// Files and folders with the system's semantics; paths are UTF-8 std::filesystem paths.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

bool FileExists(const fs::path& p);
bool DirectoryExists(const fs::path& p);
// Creates one folder level; true on success.
bool CreateDir(const fs::path& p);
bool ForceDirectories(const fs::path& p);
bool DeleteFileAt(const fs::path& p);
bool CopyFileTo(const fs::path& from, const fs::path& to, bool failIfExists);
// Names of the entries of one folder (files and folders), sorted by name.
std::vector<std::string> ListDir(const fs::path& dir);
std::vector<std::string> ListSubdirs(const fs::path& dir);
long long FileSizeOf(const fs::path& p); // -1 when missing
// Whole file as bytes; false when it cannot be read.
bool ReadFileBytes(const fs::path& p, std::string& out);
// Writes the bytes through a temporary file and a rename, so a crash never leaves half a file.
// Without `sync` the data is not forced to the disk first (files every output rebuilds).
bool WriteFileBytes(const fs::path& p, const std::string& bytes, bool sync = true);
// Writes UTF-8 text as Shift-JIS bytes (the text carries its own CR LF).
bool WriteSjisFile(const fs::path& p, const std::string& utf8);
bool ReadSjisFile(const fs::path& p, std::string& utf8);
// LibreOffice's lock file beside a document it holds open: ".~lock.<name>#".
fs::path OfficeLockFile(const fs::path& p);
// An office suite holds the file open: LibreOffice's lock file or Microsoft Office's
// "~$<name>" lies beside it.
bool HeldOpenElsewhere(const fs::path& p);
std::string ExtractFileName(const std::string& path);
std::string ChangeFileExt(const std::string& path, const std::string& ext);
void SleepMs(int ms);
