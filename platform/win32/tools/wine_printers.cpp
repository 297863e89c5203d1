// Sets up printers in the tests' Wine prefix without CUPS: Wine's PostScript
// driver with a PPD of our own, ports that are file paths, the default.
//
//   wine_printers driver NAME PPD     installs Wine's PostScript driver as NAME with PPD
//   wine_printers add NAME PORT [DRIVER]  a printer on that driver (PORT: a file path;
//                                     DRIVER: "Lumaro Test PS" when not given)
//   wine_printers default NAME        makes it the default printer
//   wine_printers clear               deletes every printer
//
// Exit status 0 when it worked, else 1 with the Windows error on standard error.
#include <windows.h>
#include <winspool.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr const wchar_t* kDefaultDriver = L"Lumaro Test PS";

int fail(const char* what) {
    std::fprintf(stderr, "wine_printers: %s: Windows error %lu\n", what, ::GetLastError());
    return 1;
}

// Wine records the PPD's name with the driver but reads it from the driver
// folder, so the file goes there first.
int installDriver(const std::wstring& driver, const std::wstring& ppdPath) {
    wchar_t folder[MAX_PATH];
    DWORD needed = 0;
    if (!::GetPrinterDriverDirectoryW(nullptr, nullptr, 1, reinterpret_cast<BYTE*>(folder),
                                      sizeof folder, &needed))
        return fail("GetPrinterDriverDirectoryW");
    const std::wstring file = ppdPath.substr(ppdPath.find_last_of(L"\\/") + 1);
    const std::wstring target = std::wstring(folder) + L"\\3\\" + file;
    ::CreateDirectoryW((std::wstring(folder) + L"\\3").c_str(), nullptr);
    if (!::CopyFileW(ppdPath.c_str(), target.c_str(), FALSE))
        return fail("CopyFileW");
    DRIVER_INFO_3W info{};
    info.cVersion = 3;
    info.pName = const_cast<wchar_t*>(driver.c_str());
    info.pEnvironment = const_cast<wchar_t*>(L"Windows x64");
    info.pDriverPath = const_cast<wchar_t*>(L"wineps.drv");
    info.pDataFile = const_cast<wchar_t*>(file.c_str());
    info.pConfigFile = const_cast<wchar_t*>(L"wineps.drv");
    if (!::AddPrinterDriverExW(nullptr, 3, reinterpret_cast<BYTE*>(&info),
                               APD_COPY_NEW_FILES | APD_COPY_FROM_DIRECTORY) &&
        !::AddPrinterDriverExW(nullptr, 3, reinterpret_cast<BYTE*>(&info), APD_COPY_NEW_FILES))
        return fail("AddPrinterDriverExW");
    return 0;
}

int addPrinter(const std::wstring& name, const std::wstring& port, const std::wstring& driver) {
    PRINTER_INFO_2W info{};
    info.pPrinterName = const_cast<wchar_t*>(name.c_str());
    info.pPortName = const_cast<wchar_t*>(port.c_str());
    info.pDriverName = const_cast<wchar_t*>(driver.c_str());
    info.pPrintProcessor = const_cast<wchar_t*>(L"winprint");
    info.pDatatype = const_cast<wchar_t*>(L"RAW");
    info.Attributes = PRINTER_ATTRIBUTE_LOCAL;
    HANDLE printer = ::AddPrinterW(nullptr, 2, reinterpret_cast<BYTE*>(&info));
    if (!printer)
        return fail("AddPrinterW");
    ::ClosePrinter(printer);
    return 0;
}

int removePrinter(const std::wstring& name) {
    HANDLE printer = nullptr;
    PRINTER_DEFAULTSW access{nullptr, nullptr, PRINTER_ALL_ACCESS};
    if (!::OpenPrinterW(const_cast<wchar_t*>(name.c_str()), &printer, &access))
        return fail("OpenPrinterW");
    const BOOL ok = ::DeletePrinter(printer);
    ::ClosePrinter(printer);
    return ok ? 0 : fail("DeletePrinter");
}

std::vector<std::wstring> printerNames() {
    DWORD needed = 0, count = 0;
    const DWORD flags = PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS;
    ::EnumPrintersW(flags, nullptr, 4, nullptr, 0, &needed, &count);
    std::vector<BYTE> buffer(needed ? needed : 1);
    std::vector<std::wstring> names;
    if (!::EnumPrintersW(flags, nullptr, 4, buffer.data(), needed, &needed, &count))
        return names;
    const auto* info = reinterpret_cast<const PRINTER_INFO_4W*>(buffer.data());
    for (DWORD i = 0; i < count; ++i)
        names.emplace_back(info[i].pPrinterName);
    return names;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring command = argc > 1 ? argv[1] : L"";
    if (command == L"driver" && argc == 4)
        return installDriver(argv[2], argv[3]);
    if (command == L"add" && (argc == 4 || argc == 5))
        return addPrinter(argv[2], argv[3], argc == 5 ? argv[4] : kDefaultDriver);
    if (command == L"default" && argc == 3)
        return ::SetDefaultPrinterW(argv[2]) ? 0 : fail("SetDefaultPrinterW");
    if (command == L"clear") {
        int status = 0;
        for (const std::wstring& name : printerNames())
            status |= removePrinter(name);
        return status;
    }
    std::fprintf(stderr,
                 "usage: wine_printers driver NAME PPD | add NAME PORT [DRIVER] | default NAME | "
                 "clear\n");
    return 64;
}
