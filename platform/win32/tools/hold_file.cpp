// Keeps a file open as the host may keep its data file open while Lumaro runs:
//   hold_file PATH none|read|all
// opens PATH for reading and writing, shared not at all, for reading, or for
// everything; prints "held" and keeps it open until standard input ends.
#include <windows.h>

#include <cstdio>
#include <string>

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: hold_file PATH none|read|all\n");
        return 64;
    }
    const std::wstring mode = argv[2];
    const DWORD share = mode == L"all"    ? FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE
                        : mode == L"read" ? FILE_SHARE_READ
                                          : 0;
    HANDLE file = ::CreateFileW(argv[1], GENERIC_READ | GENERIC_WRITE, share, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        std::fprintf(stderr, "hold_file: Windows error %lu\n", ::GetLastError());
        return 1;
    }
    std::printf("held\n");
    std::fflush(stdout);
    char buf[256];
    DWORD n = 0;
    while (::ReadFile(::GetStdHandle(STD_INPUT_HANDLE), buf, sizeof buf, &n, nullptr) && n > 0) {
    }
    ::CloseHandle(file);
    return 0;
}
