#include "platform/win32/win32_main_window.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>
#include <utility>

#include "platform/win32/wide_text.h"
#include "support/codepage.h"

namespace lumaro::platform {

namespace {

constexpr const char* kCaption = "Druckfunktion für Tierärzte - Version 26. September 2010";
constexpr const wchar_t* kClassName = L"LumaroWdwLumaro";
constexpr double kTwipsPerInch = 1440;
constexpr UINT_PTR kExitTimer = 1;
constexpr int kLabelId = 1, kListId = 2;
// The program's icon in its resources (lumaro.rc).
constexpr int kIconId = 1;

int screenDpi(int index) {
    HDC screen = ::GetDC(nullptr);
    const int dpi = screen ? ::GetDeviceCaps(screen, index) : 0;
    if (screen)
        ::ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

HFONT windowFont(const wchar_t* family, double points, double dpiY) {
    return ::CreateFontW(-static_cast<int>(std::lround(points * dpiY / 72)), 0, 0, 0, FW_NORMAL,
                         FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                         CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, family);
}

BOOL CALLBACK closeMessageBox(HWND hwnd, LPARAM) {
    wchar_t cls[16] = {};
    ::GetClassNameW(hwnd, cls, 16);
    if (std::wstring(cls) == L"#32770" && ::IsWindowVisible(hwnd))
        ::PostMessageW(hwnd, WM_COMMAND, IDOK, 0);
    return TRUE;
}

int width(const RECT& r) {
    return r.right - r.left;
}

int height(const RECT& r) {
    return r.bottom - r.top;
}

}  // namespace

Win32MainWindow::Win32MainWindow(bool unattended)
    : unattended_(unattended),
      style_(WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX),
      exStyle_(WS_EX_APPWINDOW) {
    dpiX_ = screenDpi(LOGPIXELSX);
    dpiY_ = screenDpi(LOGPIXELSY);
    // The designed client area; the run fits it to the list before showing.
    client_ = {pxX(5430), pxY(1230)};
    RECT frame{0, 0, client_.cx, client_.cy};
    ::AdjustWindowRectEx(&frame, style_, FALSE, exStyle_);
    outer_ = {0, 0, width(frame), height(frame)};
    listRect_ = {pxX(840), pxY(120), pxX(840) + pxX(4335), pxY(120) + pxY(360)};
    if (!unattended_)
        create();
}

Win32MainWindow::~Win32MainWindow() {
    if (window_)
        ::DestroyWindow(window_);
    if (labelFont_)
        ::DeleteObject(labelFont_);
    if (listFont_)
        ::DeleteObject(listFont_);
}

int Win32MainWindow::pxX(double twips) const {
    return static_cast<int>(std::lround(twips * dpiX_ / kTwipsPerInch));
}

int Win32MainWindow::pxY(double twips) const {
    return static_cast<int>(std::lround(twips * dpiY_ / kTwipsPerInch));
}

double Win32MainWindow::twipsX(double px) const {
    return px * kTwipsPerInch / dpiX_;
}

double Win32MainWindow::twipsY(double px) const {
    return px * kTwipsPerInch / dpiY_;
}

void Win32MainWindow::create() {
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    HICON icon = ::LoadIconW(instance, MAKEINTRESOURCEW(kIconId));
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = windowProc;
    wc.hInstance = instance;
    wc.hIcon = icon ? icon : ::LoadIconW(nullptr, IDI_APPLICATION);
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    // The designer's background: the system's menu colour.
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_MENU + 1);
    wc.lpszClassName = kClassName;
    ::RegisterClassExW(&wc);  // fails harmlessly when a second window registers again

    const std::wstring caption = wideFromAnsi(this->caption());
    window_ =
        ::CreateWindowExW(exStyle_, kClassName, caption.c_str(), style_, outer_.left, outer_.top,
                          width(outer_), height(outer_), nullptr, nullptr, instance, this);
    if (!window_)
        return;  // no display: the window lives on as its state

    // The title bar's and the task bar's icon, each drawn for its size.
    for (const auto& [kind, metric] : {std::pair{ICON_BIG, SM_CXICON}, {ICON_SMALL, SM_CXSMICON}}) {
        const int size = ::GetSystemMetrics(metric);
        if (HANDLE image = ::LoadImageW(instance, MAKEINTRESOURCEW(kIconId), IMAGE_ICON, size, size,
                                        LR_DEFAULTCOLOR | LR_SHARED))
            ::SendMessageW(window_, WM_SETICON, kind, reinterpret_cast<LPARAM>(image));
    }

    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);
    labelFont_ = windowFont(L"MS Sans Serif", 8.25, dpiY_);
    listFont_ = windowFont(L"Verdana", 9.75, dpiY_);

    label_ = ::CreateWindowExW(
        0, L"STATIC", L"Drucker:", WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, pxX(120),
        pxY(120), pxX(735), pxY(255), window_,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(kLabelId)), instance, nullptr);
    // A drop-down list's height is that of its open list; the closed field
    // follows its font, and is then set to the designed height below.
    list_ = ::CreateWindowExW(
        0, L"COMBOBOX", L"",
        WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_HASSTRINGS,
        listRect_.left, listRect_.top, width(listRect_), height(listRect_) * 10, window_,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(kListId)), instance, nullptr);
    if (label_)
        ::SendMessageW(label_, WM_SETFONT, reinterpret_cast<WPARAM>(labelFont_), FALSE);
    if (list_) {
        ::SendMessageW(list_, WM_SETFONT, reinterpret_cast<WPARAM>(listFont_), FALSE);
        // What the field's item height means differs between the system's
        // list controls by a few pixels of padding: set, look, correct.
        LRESULT item = ::SendMessageW(list_, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0);
        for (int attempt = 0; attempt < 3 && item > 0; ++attempt) {
            RECT closed{};
            ::GetWindowRect(list_, &closed);
            const int missing = height(listRect_) - height(closed);
            if (missing == 0 || item + missing <= 0)
                break;
            item += missing;
            ::SendMessageW(list_, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), item);
        }
        placeLabelOnListBaseline();

        tooltip_ =
            ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                              WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr, instance, nullptr);
        if (tooltip_) {
            // The control keeps its own copy of the text.
            std::wstring tip = wideFromAnsi(ansi("verfügbaren Bon-Drucker auswählen"));
            TOOLINFOW info{};
            info.cbSize = TTTOOLINFOW_V2_SIZE;
            info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
            info.hwnd = window_;
            info.uId = reinterpret_cast<UINT_PTR>(list_);
            info.lpszText = tip.data();
            ::SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
        }
    }

    // Whatever frame this system draws, the client area is the designed one.
    RECT client{};
    ::GetClientRect(window_, &client);
    ::GetWindowRect(window_, &outer_);
    const int w = width(outer_) + client_.cx - width(client);
    const int h = height(outer_) + client_.cy - height(client);
    ::SetWindowPos(window_, nullptr, 0, 0, w, h, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::GetWindowRect(window_, &outer_);
}

void Win32MainWindow::placeLabelOnListBaseline() {
    // The designed label is shorter than the list and the two texts would
    // stand at different heights; the label's text is moved onto the
    // baseline of the list's text, which the list centres in its field.
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    if (!label_ || !::GetComboBoxInfo(list_, &info))
        return;
    HDC dc = ::GetDC(list_);
    TEXTMETRICW listTm{}, labelTm{};
    HGDIOBJ old = ::SelectObject(dc, listFont_);
    ::GetTextMetricsW(dc, &listTm);
    ::SelectObject(dc, labelFont_);
    ::GetTextMetricsW(dc, &labelTm);
    ::SelectObject(dc, old);
    ::ReleaseDC(list_, dc);
    POINT field{info.rcItem.left, info.rcItem.top};
    ::MapWindowPoints(list_, window_, &field, 1);
    const int baseline = field.y + (height(info.rcItem) - listTm.tmHeight) / 2 + listTm.tmAscent;
    ::SetWindowPos(label_, nullptr, pxX(120), baseline - labelTm.tmAscent, pxX(735),
                   std::max<int>(pxY(255), labelTm.tmHeight), SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CALLBACK Win32MainWindow::windowProc(HWND hwnd, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(l);
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                            reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<Win32MainWindow*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self || self->window_ != hwnd)
        return ::DefWindowProcW(hwnd, message, w, l);
    return self->onMessage(message, w, l);
}

LRESULT Win32MainWindow::onMessage(UINT message, WPARAM w, LPARAM l) {
    switch (message) {
        case WM_COMMAND:
            if (LOWORD(w) == kListId && reinterpret_cast<HWND>(l) == list_) {
                // A choice of the user's: picked from the open list (even the
                // item already chosen), or moved to with the keys.
                const bool dropped = ::SendMessageW(list_, CB_GETDROPPEDSTATE, 0, 0) != 0;
                if (HIWORD(w) == CBN_SELENDOK || (HIWORD(w) == CBN_SELCHANGE && !dropped)) {
                    selected_ = static_cast<int>(::SendMessageW(list_, CB_GETCURSEL, 0, 0));
                    fromEventLoop([this] {
                        if (onListClicked)
                            onListClicked();
                    });
                }
                return 0;
            }
            break;
        case WM_TIMER:
            if (w == kExitTimer) {
                ::KillTimer(window_, kExitTimer);
                fromEventLoop([this] { unload(); });
                return 0;
            }
            break;
        case WM_CLOSE:
            // The close box, Alt+F4 or the task bar: the same unload as Esc.
            fromEventLoop([this] { unload(); });
            return 0;
        case WM_ENDSESSION:
            if (w)
                fromEventLoop([this] { unload(); });
            return 0;
        case WM_CTLCOLORSTATIC:
            ::SetBkMode(reinterpret_cast<HDC>(w), TRANSPARENT);
            return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_MENU));
        case WM_SETFOCUS:
            if (list_)
                ::SetFocus(list_);
            return 0;
        default:
            break;
    }
    return ::DefWindowProcW(window_, message, w, l);
}

void Win32MainWindow::fromEventLoop(const std::function<void()>& f) {
    try {
        f();
    } catch (...) {
        // Windows cannot unwind through its own frames; carry the exception
        // to whoever waits: an open message box is answered, so that its
        // caller gets it at once, and the loop of runUntilUnloaded ends.
        if (!pending_)
            pending_ = std::current_exception();
        ::EnumThreadWindows(::GetCurrentThreadId(), closeMessageBox, 0);
    }
}

void Win32MainWindow::rethrowPendingException() {
    if (pending_) {
        std::exception_ptr e = pending_;
        pending_ = nullptr;
        std::rethrow_exception(e);
    }
}

bool Win32MainWindow::isListWindow(HWND target) const {
    if (!list_ || !target)
        return false;
    if (target == list_ || ::IsChild(list_, target))
        return true;
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    return ::GetComboBoxInfo(list_, &info) && target == info.hwndList;
}

void Win32MainWindow::keyUp(HWND target, WPARAM key) {
    const bool inList = isListWindow(target);
    if (!inList && target != window_ && !(window_ && ::IsChild(window_, target)))
        return;
    // The window sees the key first; Esc unloads it whatever the modifiers.
    if (key == VK_ESCAPE)
        unload();
    if (!unloaded_ && inList && onListKeyUp)
        onListKeyUp();
}

void Win32MainWindow::runUntilUnloaded() {
    // Nobody can answer a window that is not there: end as Esc would.
    if (!window_ && !unloaded_)
        unload();
    MSG msg{};
    while (!unloaded_ && !pending_) {
        const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            // The system asked the program to end.
            fromEventLoop([this] { unload(); });
            break;
        }
        if (got < 0)
            break;
        if (msg.message == WM_KEYUP) {
            fromEventLoop([&] { keyUp(msg.hwnd, msg.wParam); });
            if (unloaded_ || pending_)
                continue;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    rethrowPendingException();
}

std::string Win32MainWindow::caption() const {
    return ansi(kCaption);
}

TwipsRect Win32MainWindow::outerGeometry() const {
    RECT r = outer_;
    if (window_)
        ::GetWindowRect(window_, &r);
    return {twipsX(r.left), twipsY(r.top), twipsX(width(r)), twipsY(height(r))};
}

TwipsRect Win32MainWindow::innerGeometry() const {
    if (window_) {
        RECT client{};
        ::GetClientRect(window_, &client);
        POINT origin{0, 0};
        ::ClientToScreen(window_, &origin);
        return {twipsX(origin.x), twipsY(origin.y), twipsX(width(client)), twipsY(height(client))};
    }
    RECT frame{0, 0, client_.cx, client_.cy};
    ::AdjustWindowRectEx(&frame, style_, FALSE, exStyle_);
    return {twipsX(outer_.left - frame.left), twipsY(outer_.top - frame.top), twipsX(client_.cx),
            twipsY(client_.cy)};
}

TwipsRect Win32MainWindow::listGeometry() const {
    RECT r = listRect_;
    if (list_) {
        ::GetWindowRect(list_, &r);
        ::MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&r), 2);
    }
    return {twipsX(r.left), twipsY(r.top), twipsX(width(r)), twipsY(height(r))};
}

double Win32MainWindow::screenWidth() const {
    return twipsX(::GetSystemMetrics(SM_CXSCREEN));
}

double Win32MainWindow::screenHeight() const {
    return twipsY(::GetSystemMetrics(SM_CYSCREEN));
}

void Win32MainWindow::setOuterGeometry(const TwipsRect& r) {
    const int left = pxX(r.left), top = pxY(r.top);
    const int w = std::max(1, pxX(r.width)), h = std::max(1, pxY(r.height));
    if (window_) {
        ::SetWindowPos(window_, nullptr, left, top, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
        ::GetWindowRect(window_, &outer_);
        RECT client{};
        ::GetClientRect(window_, &client);
        client_ = {width(client), height(client)};
        return;
    }
    // The frame keeps its own thickness.
    client_.cx += w - width(outer_);
    client_.cy += h - height(outer_);
    outer_ = {left, top, left + w, top + h};
}

void Win32MainWindow::show() {
    if (unattended_ || !window_)
        return;
    ::ShowWindow(window_, SW_SHOW);
    ::UpdateWindow(window_);
    ::SetForegroundWindow(window_);
    if (list_)
        ::SetFocus(list_);
}

void Win32MainWindow::addListItem(const std::string& name) {
    items_.push_back(name);
    if (list_)
        ::SendMessageW(list_, CB_ADDSTRING, 0,
                       reinterpret_cast<LPARAM>(wideFromAnsi(name).c_str()));
}

void Win32MainWindow::selectListIndex(int index) {
    selected_ = index >= 0 && index < static_cast<int>(items_.size()) ? index : -1;
    if (list_)
        ::SendMessageW(list_, CB_SETCURSEL, static_cast<WPARAM>(selected_), 0);
    if (selected_ >= 0 && onListClicked)
        onListClicked();
}

std::string Win32MainWindow::listText() const {
    int index = selected_;
    if (list_)
        index = static_cast<int>(::SendMessageW(list_, CB_GETCURSEL, 0, 0));
    return index >= 0 && index < static_cast<int>(items_.size())
               ? items_[static_cast<std::size_t>(index)]
               : std::string();
}

void Win32MainWindow::startExitTimer(int ms) {
    timerStarted_ = true;
    if (window_)
        ::SetTimer(window_, kExitTimer,
                   static_cast<UINT>(std::max<int>(USER_TIMER_MINIMUM, unattended_ ? 0 : ms)),
                   nullptr);
}

void Win32MainWindow::unload() {
    if (unloaded_)
        return;
    unloaded_ = true;
    if (window_) {
        ::KillTimer(window_, kExitTimer);
        if (list_)
            selected_ = static_cast<int>(::SendMessageW(list_, CB_GETCURSEL, 0, 0));
    }
    if (onAboutToUnload)
        onAboutToUnload();
    if (window_) {
        ::GetWindowRect(window_, &outer_);
        HWND w = window_;
        window_ = label_ = list_ = tooltip_ = nullptr;
        ::DestroyWindow(w);
    }
    if (onUnloaded)
        onUnloaded();
}

}  // namespace lumaro::platform
