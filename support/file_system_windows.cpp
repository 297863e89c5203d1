// The file operations on Windows. Paths arrive as Windows-1252 bytes; they
// are turned into UTF-16 through our own code-page table and handed to the
// wide (W) functions, so a name with umlauts or a euro sign reaches the disk
// the same whatever code page the machine's ANSI functions happen to use.
#include <windows.h>

#include <random>

#include "support/codepage.h"
#include "support/errors.h"
#include "support/file_system.h"

namespace lumaro::fs {
namespace {

// Everything another program may do to a file while we look at it. The host
// may still hold its data file open, and a virus scanner or the search
// indexer may open any file at any moment: our reading must not shut them out.
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// Windows-1252 -> UTF-16, by way of our table into UTF-8.
std::wstring widePath(const std::string& path) {
    const std::string utf8 = toUtf8(path);
    if (utf8.empty())
        return {};
    const int n =
        ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), n);
    return wide;
}

bool isSeparator(wchar_t c) {
    return c == L'\\' || c == L'/';
}

// The row of the file-test table for the error of an attempt to open a file:
//   ERROR_FILE_NOT_FOUND                          -> 53 file not found
//   ERROR_PATH_NOT_FOUND, ERROR_INVALID_DRIVE,
//   ERROR_BAD_NETPATH, ERROR_BAD_NET_NAME,
//   ERROR_DIRECTORY                               -> 76 path not found (a folder,
//                                                    drive or share on the way is missing,
//                                                    or is a file)
//   ERROR_ACCESS_DENIED                           -> 70 permission denied (a folder
//                                                    also answers this; it is sorted out
//                                                    before, as 75)
//   ERROR_SHARING_VIOLATION                       -> 55 file already open
//   ERROR_INVALID_NAME, ERROR_BAD_PATHNAME,
//   ERROR_FILENAME_EXCED_RANGE                    -> 52 bad file name
//   ERROR_NOT_READY                               -> 71 disk not ready
//   anything else -> 1000 + the Windows error number, a number of our own that
//   no row knows, so the user sees it in the undefined-error message.
int tableRowForError(DWORD e) {
    switch (e) {
        case ERROR_FILE_NOT_FOUND:
            return err::kFileNotFound;
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_DRIVE:
        case ERROR_BAD_NETPATH:
        case ERROR_BAD_NET_NAME:
        case ERROR_DIRECTORY:
            return err::kPathNotFound;
        case ERROR_ACCESS_DENIED:
            return err::kPermissionDenied;
        case ERROR_SHARING_VIOLATION:
            return err::kFileAlreadyOpen;
        case ERROR_INVALID_NAME:
        case ERROR_BAD_PATHNAME:
        case ERROR_FILENAME_EXCED_RANGE:
            return err::kBadFileName;
        case ERROR_NOT_READY:
            return err::kDiskNotReady;
        default:
            return err::kSystemErrorBase + static_cast<int>(e);
    }
}

// An empty name, or one holding a NUL, is no file name here: the system
// would silently cut it at the NUL and open another file. A name part longer
// than NTFS allows is refused here too, so that it is a bad name on every
// file system (some answer "not found" instead).
bool unusableName(const std::string& path) {
    if (path.empty() || path.find('\0') != std::string::npos)
        return true;
    std::size_t partLength = 0;
    for (char c : path) {
        partLength = (c == '\\' || c == '/') ? 0 : partLength + 1;
        if (partLength > 255)
            return true;
    }
    return false;
}

// Closes the handle when it goes out of scope, so no early return leaves a
// file open: an open handle stops the file from being deleted or replaced.
class Handle {
  public:
    explicit Handle(HANDLE h) : h_(h) {}
    ~Handle() { close(); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    bool valid() const { return h_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return h_; }
    bool close() {
        if (!valid())
            return true;
        const bool ok = ::CloseHandle(h_) != 0;
        h_ = INVALID_HANDLE_VALUE;
        return ok;
    }

  private:
    HANDLE h_;
};

HANDLE openForReading(const std::wstring& path) {
    return ::CreateFileW(path.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                         FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
}

// Devices such as NUL, CON or COM1 exist under every folder and open like
// files, but they are no files a user or the host leaves for us.
bool isDiskFile(HANDLE h) {
    return ::GetFileType(h) == FILE_TYPE_DISK;
}

bool writeAll(HANDLE h, const std::string& bytes) {
    const char* p = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const DWORD chunk = left > (1u << 30) ? (1u << 30) : static_cast<DWORD>(left);
        DWORD written = 0;
        if (!::WriteFile(h, p, chunk, &written, nullptr) || written == 0)
            return false;
        p += written;
        left -= written;
    }
    return true;
}

std::wstring folderOf(const std::wstring& path) {
    const auto sep = path.find_last_of(L"\\/");
    if (sep == std::wstring::npos) {
        // "C:name" lies in the current folder of drive C.
        if (path.size() >= 2 && path[1] == L':')
            return path.substr(0, 2);
        return L".";
    }
    // "C:\name" and "\name": the root keeps its separator.
    if (sep == 0 || (sep == 2 && path[1] == L':'))
        return path.substr(0, sep + 1);
    return path.substr(0, sep);
}

std::wstring nameOf(const std::wstring& path) {
    const auto sep = path.find_last_of(L"\\/:");
    return sep == std::wstring::npos ? path : path.substr(sep + 1);
}

std::wstring joinWide(const std::wstring& folder, const std::wstring& name) {
    if (!folder.empty() && (isSeparator(folder.back()) || folder.back() == L':'))
        return folder + name;
    return folder + L"\\" + name;
}

// A name beside path that no other process picks at the same moment.
std::wstring freshSiblingName(const std::wstring& path, const wchar_t* purpose) {
    std::random_device random;
    return joinWide(folderOf(path), L"~" + nameOf(path) + L"." + purpose + L"-" +
                                        std::to_wstring(::GetCurrentProcessId()) + L"-" +
                                        std::to_wstring(random()) + L".tmp");
}

// A virus scanner or indexer that opens a file we have just written holds it
// for a moment; a rename or delete that meets it fails with one of these.
// Tried again a few times before giving up, for at most about a second.
template <typename Attempt>
bool retryWhileBusy(Attempt attempt) {
    for (int round = 0;; ++round) {
        if (attempt())
            return true;
        const DWORD e = ::GetLastError();
        const bool busy =
            e == ERROR_SHARING_VIOLATION || e == ERROR_ACCESS_DENIED || e == ERROR_LOCK_VIOLATION;
        if (!busy || round == 9)
            return false;
        ::Sleep(20 + 20 * static_cast<DWORD>(round));
    }
}

}  // namespace

std::string joinPath(const std::string& folder, const std::string& name) {
    if (folder.empty())
        return name;
    // A drive ("C:") stays relative to that drive's current folder.
    if (folder.back() == '\\' || folder.back() == '/' || folder.back() == ':')
        return folder + name;
    return folder + "\\" + name;
}

std::string findInFolder(const std::string& folder, const std::string& name) {
    return joinPath(folder, name);
}

int probeOpenForReading(const std::string& path) {
    if (unusableName(path))
        return err::kBadFileName;
    const std::wstring wide = widePath(path);
    // Opening a folder fails with "access denied", the same answer as a file
    // we may not read; the attributes tell the two apart first.
    const DWORD attributes = ::GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return tableRowForError(::GetLastError());
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        return err::kPathFileAccess;
    Handle h(openForReading(wide));
    if (!h.valid())
        return tableRowForError(::GetLastError());
    if (!isDiskFile(h.get()))
        return err::kPathFileAccess;
    return 0;
}

bool isOrdinaryFile(const std::string& path) {
    if (unusableName(path))
        return false;
    // Asking for no access at all reads the attributes without meeting any
    // other program's sharing mode; a folder does not open this way.
    Handle h(
        ::CreateFileW(widePath(path).c_str(), 0, kShareAll, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!h.valid() || !isDiskFile(h.get()))
        return false;
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(h.get(), &info))
        return false;
    constexpr DWORD kNotOrdinary =
        FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    return (info.dwFileAttributes & kNotOrdinary) == 0;
}

std::optional<std::string> readWholeFile(const std::string& path) {
    if (unusableName(path))
        return std::nullopt;
    Handle h(openForReading(widePath(path)));
    if (!h.valid() || !isDiskFile(h.get()))
        return std::nullopt;
    std::string content;
    LARGE_INTEGER size{};
    if (::GetFileSizeEx(h.get(), &size) && size.QuadPart > 0 && size.QuadPart < (1LL << 31))
        content.reserve(static_cast<std::size_t>(size.QuadPart));
    // Read to the end rather than to the length seen at the start: the host
    // may still be appending, and a short read is no end of file.
    char buffer[65536];
    for (;;) {
        DWORD n = 0;
        if (!::ReadFile(h.get(), buffer, sizeof buffer, &n, nullptr))
            return std::nullopt;
        if (n == 0)
            break;
        content.append(buffer, n);
    }
    return content;
}

bool appendToFile(const std::string& path, const std::string& bytes) {
    if (unusableName(path))
        return false;
    // FILE_APPEND_DATA without FILE_WRITE_DATA: every write goes to the end
    // of the file as it is at that moment, so two programs writing the same
    // day's log at once cannot mix or overwrite their lines. Others may read
    // and write the log meanwhile.
    Handle h(::CreateFileW(widePath(path).c_str(), FILE_APPEND_DATA | SYNCHRONIZE,
                           FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!h.valid())
        return false;
    if (!isDiskFile(h.get()))
        return false;
    const bool written = writeAll(h.get(), bytes);
    return h.close() && written;
}

bool replaceFileAtomically(const std::string& path, const std::string& content) {
    if (unusableName(path))
        return false;
    const std::wstring target = widePath(path);
    const DWORD old = ::GetFileAttributesW(target.c_str());
    const bool exists = old != INVALID_FILE_ATTRIBUTES;
    if (!exists && ::GetLastError() != ERROR_FILE_NOT_FOUND)
        return false;
    if (exists) {
        if (old & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE))
            return false;
        // A file marked read-only stays as it is, as the host expects of its
        // own settings. The rename below would not ask everywhere.
        if (old & FILE_ATTRIBUTE_READONLY)
            return false;
    }

    // The temporary file lies beside the target, so that the rename stays on
    // one volume and is atomic. It is created hidden, so that one a power cut
    // leaves behind stays out of sight.
    std::wstring temp;
    HANDLE created = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < 100 && created == INVALID_HANDLE_VALUE; ++attempt) {
        temp = freshSiblingName(target, L"lumaro");
        created = ::CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_HIDDEN, nullptr);
        if (created == INVALID_HANDLE_VALUE && ::GetLastError() != ERROR_FILE_EXISTS)
            return false;
    }
    Handle h(created);
    if (!h.valid())
        return false;

    bool ok = writeAll(h.get(), content) && ::FlushFileBuffers(h.get());
    // Every handle on the temporary file is closed before the rename:
    // Windows does not move a file that is still open without sharing.
    ok = h.close() && ok;
    // The new file takes the old one's attributes (hidden, system, not
    // indexed) or the plain ones of a new file, instead of our hidden mark;
    // being new content, it is marked for the next backup.
    constexpr DWORD kKept =
        FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    const DWORD attributes = (exists ? old & kKept : 0) | FILE_ATTRIBUTE_ARCHIVE;
    ok = ok && ::SetFileAttributesW(temp.c_str(), attributes);
    ok = ok && retryWhileBusy([&] {
             return ::MoveFileExW(temp.c_str(), target.c_str(),
                                  MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
         });
    if (!ok) {
        ::SetFileAttributesW(temp.c_str(), FILE_ATTRIBUTE_NORMAL);
        ::DeleteFileW(temp.c_str());
        return false;
    }
    return true;
}

bool createFolders(const std::string& path) {
    if (unusableName(path))
        return false;
    const std::wstring wide = widePath(path);
    // Each folder on the way is made in turn; one that is there already, or
    // a part that is no folder to make (a drive, a share), shows in the last
    // test only.
    for (std::size_t sep = wide.find_first_of(L"\\/", 1); sep != std::wstring::npos;
         sep = wide.find_first_of(L"\\/", sep + 1))
        ::CreateDirectoryW(wide.substr(0, sep).c_str(), nullptr);
    ::CreateDirectoryW(wide.c_str(), nullptr);
    const DWORD attributes = ::GetFileAttributesW(wide.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

NewFile writeNewFile(const std::string& path, const std::string& content) {
    if (unusableName(path))
        return NewFile::Failed;
    const std::wstring target = widePath(path);
    if (::GetFileAttributesW(target.c_str()) != INVALID_FILE_ATTRIBUTES)
        return NewFile::NameTaken;
    const DWORD missing = ::GetLastError();
    if (missing != ERROR_FILE_NOT_FOUND)
        return NewFile::Failed;

    // Written hidden beside the target and moved to its name once complete:
    // the move stays on one volume and, without MOVEFILE_REPLACE_EXISTING,
    // refuses a name that another run took meanwhile.
    std::wstring temp;
    HANDLE created = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < 100 && created == INVALID_HANDLE_VALUE; ++attempt) {
        temp = freshSiblingName(target, L"lumaro");
        created = ::CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_HIDDEN, nullptr);
        if (created == INVALID_HANDLE_VALUE && ::GetLastError() != ERROR_FILE_EXISTS)
            return NewFile::Failed;
    }
    Handle h(created);
    if (!h.valid())
        return NewFile::Failed;
    bool ok = writeAll(h.get(), content) && ::FlushFileBuffers(h.get());
    ok = h.close() && ok;
    ok = ok && ::SetFileAttributesW(temp.c_str(), FILE_ATTRIBUTE_ARCHIVE);
    NewFile result = NewFile::Failed;
    if (ok) {
        if (retryWhileBusy([&] {
                return ::MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH) != 0;
            })) {
            result = NewFile::Written;
        } else {
            const DWORD e = ::GetLastError();
            if (e == ERROR_ALREADY_EXISTS || e == ERROR_FILE_EXISTS)
                result = NewFile::NameTaken;
        }
    }
    if (result != NewFile::Written) {
        ::SetFileAttributesW(temp.c_str(), FILE_ATTRIBUTE_NORMAL);
        ::DeleteFileW(temp.c_str());
    }
    return result;
}

bool removeFile(const std::string& path) {
    if (unusableName(path))
        return false;
    const std::wstring wide = widePath(path);
    const DWORD attributes = ::GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    // A file that another program (a virus scanner, the indexer) holds open
    // with delete sharing is only marked for deletion and keeps its name
    // until that program lets go. The next look for data files would then
    // still find it, and could not open it. Renamed out of the way first, it
    // is gone under its own name at once, whoever holds it.
    const std::wstring aside = freshSiblingName(wide, L"deleted");
    if (!retryWhileBusy([&] { return ::MoveFileExW(wide.c_str(), aside.c_str(), 0) != 0; }))
        return false;
    if (::DeleteFileW(aside.c_str()))
        return true;
    // Could be renamed but not deleted (a read-only file): put it back, so
    // that the file is where it was and the caller knows it still exists.
    ::MoveFileExW(aside.c_str(), wide.c_str(), 0);
    return false;
}

}  // namespace lumaro::fs
