// Lumaro on Windows: the program on the Win32 platform. Nothing else happens
// here but turning what Windows hands over (UTF-16) into the program's UTF-8.

#include <windows.h>
// (after windows.h, which it needs)
#include <shellapi.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/program.h"
#include "platform/win32/std_stream.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_platform.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // A drive without a disk or a crash must never wait on a system dialog
    // nobody may be there to answer.
    ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);

    std::vector<std::string> args;
    int argc = 0;
    if (LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc)) {
        for (int i = 1; i < argc; ++i)
            args.push_back(lumaro::platform::utf8FromWide(argv[i]));
        ::LocalFree(argv);
    }

    lumaro::platform::StdHandleStream out(STD_OUTPUT_HANDLE);
    lumaro::platform::StdHandleStream err(STD_ERROR_HANDLE);
    const lumaro::ProgramArguments arguments{
        args,
        [](const std::string& name) -> std::optional<std::string> {
            const std::wstring wname = lumaro::platform::wideFromUtf8(name);
            const DWORD n = ::GetEnvironmentVariableW(wname.c_str(), nullptr, 0);
            if (n == 0)
                return std::nullopt;
            std::wstring value(n, L'\0');
            const DWORD m = ::GetEnvironmentVariableW(wname.c_str(), value.data(), n);
            value.resize(m < n ? m : 0);
            return lumaro::platform::utf8FromWide(value);
        },
        out, err};
    const int status = lumaro::runProgram(arguments, [&](bool unattended) {
        return std::make_unique<lumaro::platform::Win32Platform>(unattended, err);
    });
    out.flush();
    err.flush();
    return status;
}
