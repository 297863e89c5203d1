// For tests on Windows only: another program's open handle on a file, held
// for as long as the object lives, with the access and sharing that program
// would ask for (the host writing its data file, a virus scanner reading).
#pragma once

#include <windows.h>

#include <filesystem>
#include <string>

#include "support/codepage.h"

namespace lumaro::testing {

// A Windows-1252 path as the wide path the system takes.
inline std::wstring widePath(const std::string& cp1252) {
    const std::string utf8 = toUtf8(cp1252);
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end())).wstring();
}

class HeldFile {
  public:
    HeldFile(const std::string& path, DWORD access, DWORD share, DWORD disposition = OPEN_EXISTING)
        : h_(::CreateFileW(widePath(path).c_str(), access, share, nullptr, disposition,
                           FILE_ATTRIBUTE_NORMAL, nullptr)) {}
    ~HeldFile() { release(); }
    HeldFile(const HeldFile&) = delete;
    HeldFile& operator=(const HeldFile&) = delete;
    bool held() const { return h_ != INVALID_HANDLE_VALUE; }
    bool write(const std::string& bytes) {
        DWORD n = 0;
        return ::WriteFile(h_, bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr) &&
               n == bytes.size();
    }
    void release() {
        if (held())
            ::CloseHandle(h_);
        h_ = INVALID_HANDLE_VALUE;
    }

  private:
    HANDLE h_;
};

inline DWORD attributesOf(const std::string& path) {
    return ::GetFileAttributesW(widePath(path).c_str());
}

inline bool setAttributes(const std::string& path, DWORD attributes) {
    return ::SetFileAttributesW(widePath(path).c_str(), attributes) != 0;
}

}  // namespace lumaro::testing
