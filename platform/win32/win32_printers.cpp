#include "platform/win32/win32_printers.h"

#include <windows.h>
#include <winspool.h>

#include "pdf/pdf_printer.h"
#include "platform/win32/gdi_print_device.h"
#include "platform/win32/wide_text.h"
#include "support/errors.h"

namespace lumaro::platform {

Win32PrinterSystem::Win32PrinterSystem(std::string fileFolder)
    : fileFolder_(std::move(fileFolder)) {}

std::vector<std::string> Win32PrinterSystem::names() {
    const DWORD flags = PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS;
    std::vector<std::string> result;
    // The list may grow between asking for its size and reading it.
    for (int attempt = 0; attempt < 3; ++attempt) {
        DWORD needed = 0, count = 0;
        ::EnumPrintersW(flags, nullptr, 4, nullptr, 0, &needed, &count);
        if (needed == 0)
            return result;  // no printer at all
        std::vector<BYTE> buffer(needed);
        if (!::EnumPrintersW(flags, nullptr, 4, buffer.data(), needed, &needed, &count)) {
            if (::GetLastError() == ERROR_INSUFFICIENT_BUFFER)
                continue;
            return result;
        }
        const auto* info = reinterpret_cast<const PRINTER_INFO_4W*>(buffer.data());
        for (DWORD i = 0; i < count; ++i)
            result.push_back(ansiFromWide(info[i].pPrinterName ? info[i].pPrinterName : L""));
        return result;
    }
    return result;
}

std::string Win32PrinterSystem::defaultName() {
    DWORD size = 0;
    ::GetDefaultPrinterW(nullptr, &size);
    if (size == 0)
        return {};
    std::wstring name(size, L'\0');
    if (!::GetDefaultPrinterW(name.data(), &size))
        return {};
    name.resize(name.find(L'\0') == std::wstring::npos ? name.size() : name.find(L'\0'));
    return ansiFromWide(name);
}

std::shared_ptr<PrintDevice> Win32PrinterSystem::open(const std::string& name) {
    std::shared_ptr<PrintDevice>& device = opened_[name];
    if (!device)
        device = std::make_shared<GdiPrintDevice>(name, fileFolder_);
    return device;
}

std::shared_ptr<PrintDevice> Win32PrinterSystem::openPdf(const std::string& folder) {
    std::shared_ptr<PrintDevice>& device = opened_[std::string("\0pdf:", 5) + folder];
    if (!device)
        device = std::make_shared<pdf::PdfPrinter>(folder, fonts_);
    return device;
}

}  // namespace lumaro::platform
