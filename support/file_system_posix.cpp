// The file operations on POSIX systems. Paths arrive as Windows-1252 bytes and
// go to the system as UTF-8, the file-name encoding of every Linux desktop.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <random>

#include "support/codepage.h"
#include "support/errors.h"
#include "support/file_system.h"

namespace lumaro::fs {
namespace {

std::string osPath(const std::string& path) {
    return toUtf8(path);
}

// The row of the file-test table for an errno of stat() or open():
//   ENOENT                          -> 53 file not found
//   ENOTDIR                         -> 76 path not found (a folder on the way is a file)
//   EISDIR                          -> 75 path or file access error (a folder, not a file)
//   EACCES, EPERM                   -> 70 permission denied
//   ENAMETOOLONG, EINVAL, ELOOP     -> 52 bad file name
//   EBUSY, ETXTBSY                  -> 55 file already open
//   EIO, ENXIO, ENODEV, ENOMEDIUM   -> 71 disk not ready
//   anything else (EMFILE, ENFILE, ENOMEM, ...) -> 1000 + errno, a number of
//   our own that no row knows, so the user sees it in the undefined-error message.
int tableRowForErrno(int e) {
    switch (e) {
        case ENOENT:
            return err::kFileNotFound;
        case ENOTDIR:
            return err::kPathNotFound;
        case EISDIR:
            return err::kPathFileAccess;
        case EACCES:
        case EPERM:
            return err::kPermissionDenied;
        case ENAMETOOLONG:
        case EINVAL:
        case ELOOP:
            return err::kBadFileName;
        case EBUSY:
        case ETXTBSY:
            return err::kFileAlreadyOpen;
        case EIO:
        case ENXIO:
        case ENODEV:
#ifdef ENOMEDIUM
        case ENOMEDIUM:
#endif
            return err::kDiskNotReady;
        default:
            return err::kSystemErrorBase + e;
    }
}

// "a/b/c" -> "a/b", "c" -> ".", "/c" -> "/".
std::string folderOf(const std::string& osp) {
    const auto slash = osp.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return osp.substr(0, slash);
}

std::string nameOf(const std::string& osp) {
    const auto slash = osp.find_last_of('/');
    return slash == std::string::npos ? osp : osp.substr(slash + 1);
}

bool isFolder(const std::string& osp) {
    struct stat st {};
    return ::stat(osp.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool writeAll(int fd, const std::string& bytes) {
    const char* p = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    return true;
}

// An empty name, or one holding a NUL, is no file name here: the C interface
// would silently cut it at the NUL and open another file.
bool unusableName(const std::string& path) {
    return path.empty() || path.find('\0') != std::string::npos;
}

// With a symbolic link the file it points to is what gets replaced, so the
// link survives; anything else is replaced where it is.
std::string resolveLink(const std::string& osp) {
    struct stat st {};
    if (::lstat(osp.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
        return osp;
    char* resolved = ::realpath(osp.c_str(), nullptr);
    if (resolved == nullptr)
        return osp;
    std::string out(resolved);
    std::free(resolved);
    return out;
}

void syncFolder(const std::string& folder) {
    // Makes a new name durable; a failure here no longer endangers the
    // content, so it is not reported.
    const int dir = ::open(folder.c_str(), O_RDONLY | O_CLOEXEC | O_DIRECTORY);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}

// A file without any name (O_TMPFILE), given its name once complete: a run
// killed meanwhile leaves nothing at all. Nothing when the file system cannot
// make such files; then the caller takes the way with a hidden name.
std::optional<NewFile> writeNamelessThenLink(const std::string& folder, const std::string& target,
                                             const std::string& content) {
#ifdef O_TMPFILE
    const int fd = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    if (fd < 0) {
        if (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL)
            return std::nullopt;
        return NewFile::Failed;
    }
    std::optional<NewFile> result = NewFile::Failed;
    if (writeAll(fd, content) && ::fsync(fd) == 0) {
        // linkat refuses an existing name (EEXIST) instead of replacing it.
        const std::string self = "/proc/self/fd/" + std::to_string(fd);
        if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, target.c_str(), AT_SYMLINK_FOLLOW) == 0)
            result = NewFile::Written;
        else if (errno == EEXIST)
            result = NewFile::NameTaken;
        else if (errno == ENOENT && ::access("/proc/self/fd", F_OK) != 0)
            result = std::nullopt;  // no /proc to name the file through
    }
    ::close(fd);
    return result;
#else
    (void)folder, (void)target, (void)content;
    return std::nullopt;
#endif
}

// Gives a complete hidden file the name target without replacing anything.
NewFile nameWithoutReplacing(const std::string& temp, const std::string& target) {
#ifdef RENAME_NOREPLACE
    if (::renameat2(AT_FDCWD, temp.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0)
        return NewFile::Written;
    if (errno == EEXIST)
        return NewFile::NameTaken;
        // EINVAL: a file system that does not know the flag; a link does the same.
#endif
    if (::link(temp.c_str(), target.c_str()) == 0) {
        ::unlink(temp.c_str());
        return NewFile::Written;
    }
    return errno == EEXIST ? NewFile::NameTaken : NewFile::Failed;
}

NewFile writeHiddenThenName(const std::string& folder, const std::string& target,
                            const std::string& content) {
    const std::string stem = joinPath(folder, "." + nameOf(target) + ".lumaro-");
    std::random_device random;
    std::string temp;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temp = stem + std::to_string(random());
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
        if (fd < 0 && errno != EEXIST)
            return NewFile::Failed;
    }
    if (fd < 0)
        return NewFile::Failed;
    bool ok = writeAll(fd, content) && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    const NewFile result = ok ? nameWithoutReplacing(temp, target) : NewFile::Failed;
    if (result != NewFile::Written)
        ::unlink(temp.c_str());
    return result;
}

}  // namespace

std::string joinPath(const std::string& folder, const std::string& name) {
    if (folder.empty())
        return name;
    if (folder.back() == '/')
        return folder + name;
    return folder + "/" + name;
}

std::string findInFolder(const std::string& folder, const std::string& name) {
    const std::string asked = joinPath(folder, name);
    if (unusableName(asked) || name.find('/') != std::string::npos)
        return asked;
    DIR* dir = ::opendir(osPath(folder.empty() ? std::string(".") : folder).c_str());
    if (dir == nullptr)
        return asked;
    std::string found;
    while (const dirent* entry = ::readdir(dir)) {
        // Names on the disk are UTF-8; compared as the program's own text.
        const std::string candidate = fromUtf8(entry->d_name);
        if (!sameIgnoringCase(candidate, name))
            continue;
        if (candidate == name) {
            found = candidate;
            break;
        }
        if (found.empty() || candidate < found)
            found = candidate;
    }
    ::closedir(dir);
    return found.empty() ? asked : joinPath(folder, found);
}

int probeOpenForReading(const std::string& path) {
    if (unusableName(path))
        return err::kBadFileName;
    const std::string osp = osPath(path);
    // Opening a folder read-only succeeds on Linux, so look first.
    struct stat st {};
    if (::stat(osp.c_str(), &st) != 0) {
        const int e = errno;
        // A missing folder on the way is "path not found", as on Windows.
        if (e == ENOENT && !isFolder(folderOf(osp)))
            return err::kPathNotFound;
        return tableRowForErrno(e);
    }
    if (S_ISDIR(st.st_mode))
        return err::kPathFileAccess;
    // Pipes, sockets and devices are no files a user or the host leaves for
    // us; treating them as inaccessible also spares us an open that waits.
    if (!S_ISREG(st.st_mode))
        return err::kPathFileAccess;
    const int fd = ::open(osp.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return tableRowForErrno(errno);
    ::close(fd);
    return 0;
}

bool isOrdinaryFile(const std::string& path) {
    if (unusableName(path))
        return false;
    const std::string osp = osPath(path);
    struct stat st {};
    if (::stat(osp.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return false;
    // Linux marks a hidden file by a leading dot in its name.
    const std::string name = nameOf(osp);
    return !name.empty() && name[0] != '.';
}

std::optional<std::string> readWholeFile(const std::string& path) {
    if (unusableName(path))
        return std::nullopt;
    const int fd = ::open(osPath(path).c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return std::nullopt;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return std::nullopt;
    }
    std::string content;
    content.reserve(static_cast<std::size_t>(st.st_size));
    // Read to the end rather than to the length seen at the start: the host
    // may still be appending, and a short read is no end of file.
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n == 0)
            break;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            ::close(fd);
            return std::nullopt;
        }
        content.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return content;
}

bool appendToFile(const std::string& path, const std::string& bytes) {
    if (unusableName(path))
        return false;
    const int fd =
        ::open(osPath(path).c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NOCTTY, 0666);
    if (fd < 0)
        return false;
    // One write of the whole line: with O_APPEND two programs writing the same
    // day's log at once cannot mix their lines.
    const bool written = writeAll(fd, bytes);
    const bool closed = ::close(fd) == 0;
    return written && closed;
}

bool replaceFileAtomically(const std::string& path, const std::string& content) {
    if (unusableName(path))
        return false;
    const std::string target = resolveLink(osPath(path));
    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    if (!exists && errno != ENOENT)
        return false;
    if (exists) {
        if (!S_ISREG(old.st_mode))
            return false;
        // A file marked read-only stays as it is, as the host expects of its
        // own settings; the rename below would not ask.
        if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0)
            return false;
    }

    // The temporary file lies beside the target, so that the rename stays on
    // one file system and is atomic; its leading dot keeps it out of sight.
    const std::string folder = folderOf(target);
    const std::string stem = joinPath(folder, "." + nameOf(target) + ".lumaro-");
    std::random_device random;
    std::string temp;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temp = stem + std::to_string(random());
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY,
                    exists ? (old.st_mode & 07777) : 0666);
        if (fd < 0 && errno != EEXIST)
            return false;
    }
    if (fd < 0)
        return false;

    bool ok = writeAll(fd, content);
    if (ok && exists) {
        // Owner first: changing it clears set-id bits, which fchmod restores.
        // Only a privileged run can hand the file back to its owner; without
        // the privilege the owner is ourselves already or the call fails
        // harmlessly.
        if (old.st_uid != ::geteuid() || old.st_gid != ::getegid()) {
            [[maybe_unused]] int ignored = ::fchown(fd, old.st_uid, old.st_gid);
        }
        ok = ::fchmod(fd, old.st_mode & 07777) == 0;
    }
    ok = ok && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    ok = ok && ::rename(temp.c_str(), target.c_str()) == 0;
    if (!ok) {
        ::unlink(temp.c_str());
        return false;
    }
    syncFolder(folder);
    return true;
}

bool createFolders(const std::string& path) {
    if (unusableName(path))
        return false;
    const std::string osp = osPath(path);
    // Each folder on the way is made in turn; one that is there already, or
    // a part we may not make (the root), shows in the last test only.
    for (std::size_t slash = osp.find('/', 1); slash != std::string::npos;
         slash = osp.find('/', slash + 1))
        ::mkdir(osp.substr(0, slash).c_str(), 0777);
    ::mkdir(osp.c_str(), 0777);
    return isFolder(osp);
}

NewFile writeNewFile(const std::string& path, const std::string& content) {
    if (unusableName(path))
        return NewFile::Failed;
    const std::string target = osPath(path);
    struct stat st {};
    if (::lstat(target.c_str(), &st) == 0)
        return NewFile::NameTaken;
    if (errno != ENOENT)
        return NewFile::Failed;
    const std::string folder = folderOf(target);
    std::optional<NewFile> result = writeNamelessThenLink(folder, target, content);
    if (!result)
        result = writeHiddenThenName(folder, target, content);
    if (*result == NewFile::Written)
        syncFolder(folder);
    return *result;
}

bool removeFile(const std::string& path) {
    if (unusableName(path))
        return false;
    return ::unlink(osPath(path).c_str()) == 0;
}

}  // namespace lumaro::fs
