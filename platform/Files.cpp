#include "platform/Files.h"

#include "platform/Text.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

// Lists the entries of dir that pass keep(entry), sorted by name (byte order).
template <typename Keep> std::vector<std::string> listEntries(const fs::path& dir, Keep keep) {
    std::vector<std::string> names;
    std::error_code ec;
    fs::directory_iterator it(dir, ec);
    if (ec) return names;
    for (const fs::directory_iterator end; it != end; it.increment(ec)) {
        if (ec) break;
        if (keep(*it)) names.push_back(it->path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

bool writeAll(int fd, const std::string& bytes) {
    const char* p = bytes.data();
    size_t left = bytes.size();
    while (left > 0) {
        ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        p += n;
        left -= static_cast<size_t>(n);
    }
    return true;
}

mode_t newFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return static_cast<mode_t>(0666 & ~mask);
}

} // namespace

bool FileExists(const fs::path& p) {
    std::error_code ec;
    auto st = fs::status(p, ec);
    return !ec && fs::exists(st) && !fs::is_directory(st);
}

bool DirectoryExists(const fs::path& p) {
    std::error_code ec;
    return fs::is_directory(p, ec);
}

bool CreateDir(const fs::path& p) {
    std::error_code ec;
    return fs::create_directory(p, ec) && !ec;
}

bool ForceDirectories(const fs::path& p) {
    if (p.empty()) return false;
    std::error_code ec;
    fs::create_directories(p, ec);
    return DirectoryExists(p);
}

bool DeleteFileAt(const fs::path& p) {
    std::error_code ec;
    auto st = fs::symlink_status(p, ec);
    if (ec || !fs::exists(st) || fs::is_directory(st)) return false;
    return fs::remove(p, ec) && !ec;
}

bool CopyFileTo(const fs::path& from, const fs::path& to, bool failIfExists) {
    std::error_code ec;
    if (!fs::is_regular_file(from, ec)) return false;
    if (fs::exists(to, ec)) {
        if (failIfExists || fs::is_directory(to, ec)) return false;
    }
    std::string bytes;
    if (!ReadFileBytes(from, bytes)) return false;
    return WriteFileBytes(to, bytes);
}

std::vector<std::string> ListDir(const fs::path& dir) {
    return listEntries(dir, [](const fs::directory_entry&) { return true; });
}

std::vector<std::string> ListSubdirs(const fs::path& dir) {
    return listEntries(dir, [](const fs::directory_entry& e) {
        std::error_code ec;
        return e.is_directory(ec);
    });
}

long long FileSizeOf(const fs::path& p) {
    std::error_code ec;
    if (!fs::is_regular_file(p, ec)) return -1;
    auto n = fs::file_size(p, ec);
    return ec ? -1 : static_cast<long long>(n);
}

bool ReadFileBytes(const fs::path& p, std::string& out) {
    std::error_code ec;
    if (fs::is_directory(p, ec)) return false;
    std::ifstream f(p, std::ios::binary);
    if (!f) return false;
    std::string bytes((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
    if (f.bad()) return false;
    out = std::move(bytes);
    return true;
}

bool WriteFileBytes(const fs::path& target, const std::string& bytes, bool sync) {
    if (target.empty() || !target.has_filename()) return false;
    std::error_code ec;
    // A symbolic link stays a link: the file it points to is replaced.
    fs::path p = target;
    if (fs::is_symlink(fs::symlink_status(target, ec))) {
        p = fs::weakly_canonical(target, ec);
        if (ec) return false;
    }
    if (fs::is_directory(p, ec)) return false;
    fs::path dir = p.parent_path();
    if (dir.empty()) dir = ".";
    // The temporary file lives beside the target so that the rename stays in one file system.
    std::string tmpl = (dir / ("." + p.filename().string() + ".tmpXXXXXX")).string();
    int fd = ::mkostemp(tmpl.data(), O_CLOEXEC);
    if (fd < 0) return false;
    bool ok = writeAll(fd, bytes);
    // mkstemp creates 0600; give the file the mode a new file normally gets (or the old one's).
    struct stat old {};
    mode_t mode = (::stat(p.c_str(), &old) == 0) ? (old.st_mode & 07777) : newFileMode();
    ok = ok && ::fchmod(fd, mode) == 0;
    ok = ok && (!sync || ::fsync(fd) == 0);
    ok = (::close(fd) == 0) && ok;
    ok = ok && ::rename(tmpl.c_str(), p.c_str()) == 0;
    if (!ok) {
        ::unlink(tmpl.c_str());
        return false;
    }
    if (!sync) return true;
    // Make the rename itself durable.
    int dfd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
        ::fsync(dfd);
        ::close(dfd);
    }
    return true;
}

bool WriteSjisFile(const fs::path& p, const std::string& utf8) {
    return WriteFileBytes(p, ToSjis(utf8));
}

bool ReadSjisFile(const fs::path& p, std::string& utf8) {
    std::string bytes;
    if (!ReadFileBytes(p, bytes)) return false;
    utf8 = FromSjis(bytes);
    return true;
}

fs::path OfficeLockFile(const fs::path& p) {
    return p.parent_path() / (".~lock." + p.filename().string() + "#");
}

bool HeldOpenElsewhere(const fs::path& p) {
    return FileExists(OfficeLockFile(p)) || FileExists(p.parent_path() / ("~$" + p.filename().string()));
}

std::string ExtractFileName(const std::string& path) {
    const size_t p = path.find_last_of("/\\");
    return p == std::string::npos ? path : path.substr(p + 1);
}

std::string ChangeFileExt(const std::string& path, const std::string& ext) {
    // As the system's runtime does: the extension starts at the last '.' after the last separator.
    const size_t p = path.find_last_of("./\\");
    if (p != std::string::npos && path[p] == '.') return path.substr(0, p) + ext;
    return path + ext;
}

void SleepMs(int ms) {
    if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}
