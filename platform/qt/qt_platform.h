// Linux: the run on Qt. The application object, the window, message boxes,
// the printers Qt knows (CUPS), Qt's picture readers, the locale's separators
// and the metric-compatible stand-ins for the Windows fonts.
#pragma once

#include <QApplication>
#include <memory>

#include "app/program.h"
#include "platform/qt/qt_device.h"
#include "platform/qt/qt_main_window.h"
#include "platform/qt/qt_messages.h"
#include "platform/qt/qt_picture_loader.h"

namespace lumaro::platform {

class QtPlatform : public Platform {
  public:
    // argc and argv must outlive the platform (Qt keeps them). Unattended, Qt
    // needs no display.
    QtPlatform(int& argc, char** argv, bool unattended);

    std::string programFolder(const std::optional<std::string>& given) override;
    std::string absolutePath(const std::string& given) override;
    std::filesystem::path nativePath(const std::string& given) override;
    Regional regional() override;
    const FontTable& fonts() override;
    // nullptr without a display.
    MessageBoxes* boxes() override { return noDisplay_ ? nullptr : &boxes_; }
    ProgramWindow& window() override { return *window_; }
    PrinterSystem& printers() override { return printers_; }
    pdf::FontSource& pdfFonts() override { return printers_.pdfFonts(); }
    PictureLoader& pictures() override { return pictures_; }

  private:
    bool noDisplay_ = false;
    std::unique_ptr<QApplication> app_;
    QtMessageBoxes boxes_;
    std::unique_ptr<QtMainWindow> window_;
    QtPrinterSystem printers_;
    QtPictureLoader pictures_;
};

}  // namespace lumaro::platform
