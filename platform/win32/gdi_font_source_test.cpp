// The PDF printer's font files on Windows are the fonts GDI draws with: the
// file read back for a family measures, in the PDF printer's own reading of
// it, what the GDI printer measures.
#include "platform/win32/gdi_font_source.h"

#include <gtest/gtest.h>

#include "pdf/true_type_font.h"
#include "platform/win32/gdi_print_device.h"
#include "support/codepage.h"

namespace lumaro::platform {
namespace {

TEST(GdiFontSource, TheFileOfEachFamilyAndStyleMeasuresAsGdiDoes) {
    GdiFontSource source;
    // Any printer measures in the same proportions; this one has gone, so
    // measuring happens on a screen device.
    GdiPrintDevice gdi("Kein Drucker", "");
    const std::string text = ansi("Wartezeiten enden am: Fleisch 09.12.2026 € „Öl“");
    std::string previous;
    for (const char* family : {"Verdana", "Arial", "Times New Roman", "Courier New"}) {
        for (const bool bold : {false, true}) {
            for (const bool italic : {false, true}) {
                SCOPED_TRACE(std::string(family) + (bold ? " bold" : "") +
                             (italic ? " italic" : ""));
                const pdf::FontFile file = source.fontFile(family, bold, italic);
                ASSERT_GT(file.bytes.size(), 10000u);
                EXPECT_EQ(file.faceIndex, 0);
                EXPECT_NE(file.bytes, previous);  // each style its own face
                previous = file.bytes;
                const pdf::TrueTypeFont font(file.bytes, file.faceIndex);
                const DeviceFont asked{family, 10, bold, italic, false};
                // Both in ems: GDI's advance at 10 points over the em at 600 dpi.
                EXPECT_NEAR(gdi.advance(asked, text) / (10.0 / 72 * 600),
                            static_cast<double>(font.advance(text)) / font.facts().unitsPerEm,
                            0.002);
            }
        }
    }
}

}  // namespace
}  // namespace lumaro::platform
