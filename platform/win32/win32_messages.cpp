#include "platform/win32/win32_messages.h"

#include <windows.h>

#include <ostream>

#include "platform/win32/wide_text.h"

namespace lumaro::platform {

namespace {

UINT iconStyle(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Stop:
            return MB_ICONHAND;
        case MessageIcon::Exclamation:
            return MB_ICONEXCLAMATION;
        case MessageIcon::Information:
            return MB_ICONASTERISK;
        case MessageIcon::None:
            break;
    }
    return 0;
}

}  // namespace

void Win32MessageBoxes::show(const std::string& text, const std::string& title, MessageIcon icon) {
    HWND owner = window_ ? window_->handle() : nullptr;
    if (owner && !::IsWindowVisible(owner))
        owner = nullptr;
    const int answer = ::MessageBoxW(
        owner, wideFromAnsi(text).c_str(), wideFromAnsi(title).c_str(),
        MB_OK | iconStyle(icon) | MB_SETFOREGROUND | (owner ? MB_APPLMODAL : MB_TASKMODAL));
    if (answer <= 0) {
        fallback_ << messageLine(text, title, icon) << '\n';
        fallback_.flush();
    }
    if (window_)
        window_->rethrowPendingException();
}

}  // namespace lumaro::platform
