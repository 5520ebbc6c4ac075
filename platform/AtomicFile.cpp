#include "platform/AtomicFile.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

#include "platform/LargeMemory.h"

namespace {

std::string ParentOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

// Where the bytes really go: links are followed so that replacing the file
// does not replace the link with a plain file.
std::string ResolveTarget(const std::string& path) {
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
    if (char* real = realpath(path.c_str(), nullptr)) {
        std::string resolved(real);
        std::free(real);
        return resolved;
    }
    // A dangling link: write where it points, so the link becomes valid.
    std::string target(PATH_MAX, '\0');
    const ssize_t n = readlink(path.c_str(), target.data(), target.size());
    if (n <= 0 || static_cast<std::size_t>(n) >= target.size()) return path;
    target.resize(static_cast<std::size_t>(n));
    if (target.front() == '/') return target;
    return ParentOf(path) + "/" + target;
}

bool WriteAll(int fd, std::string_view data) {
    while (!data.empty()) {
        const ssize_t n = write(fd, data.data(), data.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (n == 0) {
            errno = EIO;
            return false;
        }
        data.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// Makes the renames done in a folder survive a power cut.
bool SyncFolder(const std::string& folder) {
    const int dir = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir < 0) return false;
    const bool synced = fsync(dir) == 0;
    close(dir);
    return synced;
}

// Temporary names must not collide between two stores of one process or two
// processes writing the same folder.
std::string TemporaryPrefix(const std::string& base) { return "." + base + ".tmp-"; }

std::string UniqueSuffix() {
    static std::atomic<unsigned> counter{0};
    const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
    return std::to_string(getpid()) + "-" + std::to_string(counter.fetch_add(1)) + "-" +
           std::to_string(static_cast<unsigned long long>(ticks) & 0xffffffu);
}

}  // namespace

bool WriteFileAtomically(const std::string& path, std::string_view contents, RenameDurability durability) {
    const std::string target = ResolveTarget(path);
    const std::string folder = ParentOf(target);
    const auto slash = target.find_last_of('/');
    const std::string base = slash == std::string::npos ? target : target.substr(slash + 1);

    // Only a file is replaced: renaming over a device, a named pipe or a
    // folder would put a file in its place (for the superuser, even in /dev).
    struct stat existing {};
    if (stat(target.c_str(), &existing) == 0 && !S_ISREG(existing.st_mode)) {
        errno = S_ISDIR(existing.st_mode) ? EISDIR : EINVAL;
        return false;
    }

    std::string temp;
    int fd = -1;
    for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
        temp = folder + "/" + TemporaryPrefix(base) + UniqueSuffix();
        fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (fd < 0 && errno != EEXIST) return false;
    }
    if (fd < 0) return false;

    auto fail = [&](bool closeFirst) {
        const int saved = errno;
        if (closeFirst) close(fd);
        unlink(temp.c_str());
        errno = saved;
        return false;
    };

    // Keep the permissions the user gave the old file (e.g. private 0600).
    struct stat old {};
    if (stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode)) fchmod(fd, old.st_mode & 07777);

    if (!WriteAll(fd, contents)) return fail(true);
    if (fsync(fd) != 0) return fail(true);
    if (close(fd) != 0) return fail(false);
    if (rename(temp.c_str(), target.c_str()) != 0) return fail(false);

    // Some file systems cannot sync a folder; the new contents are in place
    // regardless, so that is no failure of the write.
    if (durability == RenameDurability::Now) SyncFolder(folder);
    return true;
}

bool SyncFolderOf(const std::string& path) { return SyncFolder(ParentOf(ResolveTarget(path))); }

void RemoveStaleTemporaries(const std::string& path) {
    // A save takes milliseconds; ten minutes leaves a wide margin.
    constexpr auto StaleAfter = std::chrono::minutes(10);
    const std::string target = ResolveTarget(path);
    const auto slash = target.find_last_of('/');
    const std::string prefix = TemporaryPrefix(slash == std::string::npos ? target : target.substr(slash + 1));
    std::error_code ec;
    const auto now = std::filesystem::file_time_type::clock::now();
    for (auto it = std::filesystem::directory_iterator(ParentOf(target), ec);
         !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.compare(0, prefix.size(), prefix) != 0) continue;
        std::error_code entryError;
        if (!it->is_regular_file(entryError) || entryError) continue;
        const auto written = it->last_write_time(entryError);
        if (!entryError && now - written > StaleAfter) std::filesystem::remove(it->path(), entryError);
    }
}

bool ReadFileBounded(const std::string& path, std::size_t maxBytes, std::string& contents, bool& missing,
                     bool& truncated) {
    FileText file;
    const bool read = file.ReadStart(path, maxBytes);
    missing = file.problem() == FileProblem::Missing;
    truncated = read && !file.complete();
    contents.assign(file.view());
    return read;
}

bool MakeFolders(const std::string& path) {
    std::error_code ec;
    std::filesystem::create_directories(path, ec);
    return std::filesystem::is_directory(path, ec);
}

bool RemoveFolderTree(const std::string& path) {
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0) return errno == ENOENT;
    if (!S_ISDIR(st.st_mode)) {
        // A link or a stray file in the folder's place: removing it frees the
        // path without touching whatever a link points to.
        return unlink(path.c_str()) == 0;
    }
    std::string trimmed = path;
    while (trimmed.size() > 1 && trimmed.back() == '/') trimmed.pop_back();
    const auto slash = trimmed.find_last_of('/');
    const std::string base = slash == std::string::npos ? trimmed : trimmed.substr(slash + 1);
    const std::string aside = ParentOf(trimmed) + "/." + base + ".removing-" + UniqueSuffix();
    if (rename(trimmed.c_str(), aside.c_str()) != 0) return false;
    std::error_code ec;
    std::filesystem::remove_all(aside, ec);
    // Whatever could not be deleted stays hidden under the aside name; the
    // folder's own path is free, which is what callers rely on.
    return true;
}
