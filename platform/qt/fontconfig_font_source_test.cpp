// fontconfig and Qt pick the same font file for each family the font table
// names, so the PDF printer embeds the font the system printers draw with.
#include "platform/qt/fontconfig_font_source.h"

#include <gtest/gtest.h>

#include <QRawFont>

#include "pdf/true_type_font.h"
#include "platform/qt/qt_device.h"
#include "printing/font_table.h"

namespace lumaro::platform {
namespace {

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
