// Drives lumaro.exe's window from outside, as a user would, for the tests
// under Wine: answers a message box, reads the window's place and list,
// presses keys, chooses in the list; and finds the program's icon.
//
//   window_driver box TITLE             waits for a message box of that title, prints
//                                       its text, answers OK
//   window_driver window CAPTION        waits for the window, prints its place on the
//                                       screen and its list as JSON
//   window_driver key CAPTION VK        presses and releases a key in its list
//   window_driver select CAPTION INDEX  chooses an item of its list with the keyboard
//   window_driver icon EXE              the sizes at which the program's icon loads
//
// Every wait ends after 20 seconds with exit status 1. Texts are printed as
// UTF-8.
#include <windows.h>

#include <cstdio>
#include <initializer_list>
#include <string>

namespace {

std::string utf8(const std::wstring& w) {
    const int n = ::WideCharToMultiByte(CP_UTF8, 0, w.c_str(), static_cast<int>(w.size()), nullptr,
                                        0, nullptr, nullptr);
    std::string s(static_cast<std::size_t>(n), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, w.c_str(), static_cast<int>(w.size()), s.data(), n, nullptr,
                          nullptr);
    return s;
}

// Our printers' names need no escapes beyond quotes and backslashes.
std::string json(const std::wstring& w) {
    std::string out = "\"";
    for (char c : utf8(w))
        out += c == '"' || c == '\\' ? std::string{'\\', c} : std::string{c};
    return out + "\"";
}

std::wstring textOf(HWND h) {
    wchar_t buf[4096] = {};
    ::GetWindowTextW(h, buf, 4096);
    return buf;
}

std::wstring classOf(HWND h) {
    wchar_t buf[256] = {};
    ::GetClassNameW(h, buf, 256);
    return buf;
}

struct Search {
    std::wstring title;
    bool dialog;
    HWND found = nullptr;
};

BOOL CALLBACK match(HWND h, LPARAM p) {
    auto* s = reinterpret_cast<Search*>(p);
    if (::IsWindowVisible(h) && textOf(h) == s->title && (classOf(h) == L"#32770") == s->dialog) {
        s->found = h;
        return FALSE;
    }
    return TRUE;
}

HWND waitFor(const std::wstring& title, bool dialog) {
    for (int i = 0; i < 400; ++i) {
        Search s{title, dialog};
        ::EnumWindows(match, reinterpret_cast<LPARAM>(&s));
        if (s.found)
            return s.found;
        ::Sleep(50);
    }
    std::fprintf(stderr, "window_driver: no window \"%s\"\n", utf8(title).c_str());
    std::exit(1);
}

int box(const std::wstring& title) {
    HWND dialog = waitFor(title, true);
    std::wstring text;
    for (HWND c = nullptr; (c = ::FindWindowExW(dialog, c, L"Static", nullptr)) != nullptr;) {
        if (!textOf(c).empty())
            text = textOf(c);
    }
    std::printf("%s\n", utf8(text).c_str());
    std::fflush(stdout);
    ::PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    return 0;
}

int window(const std::wstring& caption) {
    HWND w = waitFor(caption, false);
    HWND list = ::FindWindowExW(w, nullptr, L"ComboBox", nullptr);
    RECT r{}, client{};
    ::GetWindowRect(w, &r);
    ::GetClientRect(w, &client);
    HDC screen = ::GetDC(nullptr);
    std::printf(
        "{\"outer\": [%ld, %ld, %ld, %ld], \"client\": [%ld, %ld], \"dpi\": %d, "
        "\"screen\": [%d, %d], \"items\": [",
        r.left, r.top, r.right - r.left, r.bottom - r.top, client.right, client.bottom,
        ::GetDeviceCaps(screen, LOGPIXELSX), ::GetSystemMetrics(SM_CXSCREEN),
        ::GetSystemMetrics(SM_CYSCREEN));
    ::ReleaseDC(nullptr, screen);
    const LRESULT n = list ? ::SendMessageW(list, CB_GETCOUNT, 0, 0) : 0;
    for (LRESULT i = 0; i < n; ++i) {
        wchar_t item[512] = {};
        ::SendMessageW(list, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(item));
        std::printf("%s%s", i ? ", " : "", json(item).c_str());
    }
    std::printf("], \"selected\": %d}\n",
                list ? static_cast<int>(::SendMessageW(list, CB_GETCURSEL, 0, 0)) : -1);
    return 0;
}

HWND listOf(const std::wstring& caption) {
    HWND list = ::FindWindowExW(waitFor(caption, false), nullptr, L"ComboBox", nullptr);
    if (!list) {
        std::fprintf(stderr, "window_driver: no list\n");
        std::exit(1);
    }
    return list;
}

int key(const std::wstring& caption, UINT vk) {
    HWND list = listOf(caption);
    const LPARAM scan = static_cast<LPARAM>(::MapVirtualKeyW(vk, MAPVK_VK_TO_VSC)) << 16;
    ::PostMessageW(list, WM_KEYDOWN, vk, scan | 1);
    ::PostMessageW(list, WM_KEYUP, vk, scan | 1 | (1u << 30) | (1u << 31));
    return 0;
}

// What a user's arrow keys do to a closed drop-down list: it moves the
// selection and tells its window.
int select(const std::wstring& caption, int index) {
    HWND list = listOf(caption);
    ::SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    ::PostMessageW(::GetParent(list), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(list), CBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(list));
    return 0;
}

// The program's own icon (resource 1), as the title bar, the task bar and
// Explorer load it (Wine answers another process's WM_GETICON with nothing).
int icon(const std::wstring& exe) {
    HMODULE module = ::LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    for (int size : {16, 32, 48}) {
        if (HANDLE h = module ? ::LoadImageW(module, MAKEINTRESOURCEW(1), IMAGE_ICON, size, size, 0)
                              : nullptr) {
            std::printf("%d\n", size);
            ::DestroyIcon(static_cast<HICON>(h));
        }
    }
    return module ? 0 : 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring command = argc > 1 ? argv[1] : L"";
    if (command == L"box" && argc == 3)
        return box(argv[2]);
    if (command == L"window" && argc == 3)
        return window(argv[2]);
    if (command == L"key" && argc == 4)
        return key(argv[2], static_cast<UINT>(std::wcstoul(argv[3], nullptr, 0)));
    if (command == L"select" && argc == 4)
        return select(argv[2], static_cast<int>(std::wcstol(argv[3], nullptr, 10)));
    if (command == L"icon" && argc == 3)
        return icon(argv[2]);
    std::fprintf(stderr,
                 "usage: window_driver box TITLE | window CAPTION | key CAPTION VK | "
                 "select CAPTION INDEX | icon EXE\n");
    return 64;
}
