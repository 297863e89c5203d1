// Linux printers: a system printer through Qt, and the PDF printer's font files, which must
// be the files Qt draws with (its drawing: the example traces and real PDF readers).
#include "platform/qt/qt_device.h"

#include <gtest/gtest.h>

#include <QRawFont>

#include "pdf/true_type_font.h"
#include "platform/qt/fontconfig_font_source.h"
#include "printing/font_table.h"
#include "printing/print_surface.h"
#include "support/errors.h"
#include "tests/fakes/fakes.h"

namespace lumaro::platform {
namespace {

TEST(QtPrinterSystem, APrinterThatHasGoneStillMeasuresButPrintingIsError482AndStartsNoJob) {
    lumaro::testing::FixedClock clock;
    QtPrinterSystem system;
    PrintSurface surface{FontTable::standIns(), clock};
    surface.useDevice(system.open(lumaro::testing::w("Kein solcher Drucker")));
    EXPECT_GT(surface.textWidth("abc"), 0);
    EXPECT_EQ(lumaro::testing::errorOf([&] { surface.print("abc"); }), err::kPrinterError);
    EXPECT_EQ(surface.jobCount(), 0);
}

TEST(FontconfigFontSource, FindsTheFileQtDrawsWithForEveryFamilyAndStyle) {
    FontconfigFontSource source;
    for (const char* asked : {"Veranda", "Arial", "Times New Roman", "Courier New", ""}) {
        for (int style = 0; style < 4; ++style) {
            const bool bold = style & 1, italic = style & 2;
            const std::string family = FontTable::standIns().family(asked);
            SCOPED_TRACE(family + (bold ? " bold" : "") + (italic ? " italic" : ""));
            const pdf::FontFile file = source.fontFile(family, bold, italic);
            ASSERT_FALSE(file.bytes.empty());
            const pdf::TrueTypeFont font(file.bytes, file.faceIndex);
            EXPECT_EQ(font.facts().weightClass >= 600, bold);
            EXPECT_EQ(font.facts().italic, italic);
            // The head table holds the file's dates and checksum: equal heads, one file.
            const QByteArray head =
                QRawFont(QByteArray::fromStdString(file.bytes), 10).fontTable("head");
            ASSERT_EQ(head.size(), 54);
            const DeviceFont drawn{family, 10, bold, italic};
            EXPECT_EQ(QRawFont::fromFont(qtFont(drawn)).fontTable("head"), head);
        }
    }
}

}  // namespace
}  // namespace lumaro::platform
