// For tests on Windows only: another program's handle on a file (the host
// writing its data file, a virus scanner reading), held while the object lives.
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
    void release() {
        if (held())
            ::CloseHandle(h_);
        h_ = INVALID_HANDLE_VALUE;
    }

  private:
    HANDLE h_;
};

}  // namespace lumaro::testing
