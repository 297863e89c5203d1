#include "platform/win32/std_stream.h"

#include "platform/win32/wide_text.h"

namespace lumaro::platform {

StdHandleBuffer::~StdHandleBuffer() {
    sync();
    if (console_)
        ::CloseHandle(console_);
}

HANDLE StdHandleBuffer::target() {
    HANDLE h = ::GetStdHandle(which_);
    if (h != nullptr && h != INVALID_HANDLE_VALUE)
        return h;
    // No handle: the console of the program that started us, if there is
    // one (not when started from Explorer). The other stream may have
    // attached it already; CONOUT$ is that console either way.
    if (!triedConsole_) {
        triedConsole_ = true;
        ::AttachConsole(ATTACH_PARENT_PROCESS);
        console_ =
            ::CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE,
                          FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
        if (console_ == INVALID_HANDLE_VALUE)
            console_ = nullptr;
    }
    return console_;
}

StdHandleBuffer::int_type StdHandleBuffer::overflow(int_type c) {
    if (c != traits_type::eof()) {
        pending_ += static_cast<char>(c);
        if (c == '\n')
            sync();
    }
    return traits_type::not_eof(c);
}

std::streamsize StdHandleBuffer::xsputn(const char* s, std::streamsize n) {
    pending_.append(s, static_cast<std::size_t>(n));
    if (pending_.find('\n') != std::string::npos)
        sync();
    return n;
}

int StdHandleBuffer::sync() {
    if (!pending_.empty()) {
        write(pending_);
        pending_.clear();
    }
    return 0;
}

void StdHandleBuffer::write(const std::string& utf8) {
    HANDLE h = target();
    if (!h)
        return;
    DWORD mode = 0;
    if (::GetConsoleMode(h, &mode)) {
        const std::wstring wide = wideFromUtf8(utf8);
        DWORD written = 0;
        ::WriteConsoleW(h, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
        return;
    }
    std::size_t done = 0;
    while (done < utf8.size()) {
        DWORD written = 0;
        if (!::WriteFile(h, utf8.data() + done, static_cast<DWORD>(utf8.size() - done), &written,
                         nullptr) ||
            written == 0)
            return;
        done += written;
    }
}

}  // namespace lumaro::platform
