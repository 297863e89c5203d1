#include "platform/win32/win32_platform.h"

#include <windows.h>

#include "platform/win32/regional_win32.h"
#include "platform/win32/wide_text.h"
#include "support/codepage.h"

namespace lumaro::platform {

namespace {

// A window station that is not visible (a service, a scheduled task without
// a logged-on user) has no desktop anyone looks at.
bool interactiveDesktop() {
    USEROBJECTFLAGS flags{};
    HWINSTA station = ::GetProcessWindowStation();
    if (!station || !::GetUserObjectInformationW(station, UOI_FLAGS, &flags, sizeof flags, nullptr))
        return true;
    return (flags.dwFlags & WSF_VISIBLE) != 0;
}

std::wstring fullPath(const std::wstring& path) {
    const DWORD n = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (n == 0)
        return path;
    std::wstring full(n, L'\0');
    const DWORD m = ::GetFullPathNameW(path.c_str(), n, full.data(), nullptr);
    full.resize(m < n ? m : 0);
    return full.empty() ? path : full;
}

std::wstring withoutTrailingSeparator(std::wstring path) {
    while (path.size() > 1 && (path.back() == L'\\' || path.back() == L'/') &&
           !(path.size() == 3 && path[1] == L':'))
        path.pop_back();
    return path;
}

std::wstring executableFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n < path.size()) {
            path.resize(n);
            break;
        }
        path.resize(path.size() * 2);
    }
    const std::size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(0, slash == 2 ? 3 : slash);
}

}  // namespace

std::string absoluteAnsiPath(const std::string& utf8) {
    return ansiFromWide(withoutTrailingSeparator(fullPath(wideFromUtf8(utf8))));
}

Win32Platform::Win32Platform(bool unattended, std::ostream& err)
    : window_(unattended), boxes_(err), printers_("") {
    display_ = !unattended && interactiveDesktop() && window_.handle() != nullptr;
    boxes_.setWindow(&window_);
}

std::string Win32Platform::programFolder(const std::optional<std::string>& given) {
    const std::string folder = given ? absoluteAnsiPath(*given)
                                     : ansiFromWide(withoutTrailingSeparator(executableFolder()));
    // Printers that would ask for a file name write beside the PDF files.
    printers_.setFileFolder(folder + (folder.ends_with("\\") ? "" : "\\") + "Ausdrucke");
    return folder;
}

std::string Win32Platform::absolutePath(const std::string& given) {
    return absoluteAnsiPath(given);
}

std::filesystem::path Win32Platform::nativePath(const std::string& given) {
    return std::filesystem::path(fullPath(wideFromUtf8(given)));
}

Regional Win32Platform::regional() {
    return regionalFromEnvironment([](const char* name) {
        const std::wstring wname = wideFromAnsi(name);
        const DWORD n = ::GetEnvironmentVariableW(wname.c_str(), nullptr, 0);
        if (n == 0)
            return std::string();
        std::wstring value(n, L'\0');
        const DWORD m = ::GetEnvironmentVariableW(wname.c_str(), value.data(), n);
        value.resize(m < n ? m : 0);
        return utf8FromWide(value);
    });
}

const FontTable& Win32Platform::fonts() {
    return FontTable::windows();
}

}  // namespace lumaro::platform
