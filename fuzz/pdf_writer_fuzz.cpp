// The PDF writer under random drawing calls, with a real font changed here
// and there or any bytes at all as its font file. A font that is not sound
// may only end in RuntimeError 482; everything else must give a file whose
// structure holds (every object where the cross-reference table says).
//
// Input: one byte choosing the font (DejaVu Sans or Liberation Serif Italic
// with patches, or bytes of the input), then drawing calls until the input
// ends.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <memory>
#include <string>

#include "pdf/pdf_document.h"
#include "pdf/testing_fonts.h"
#include "pdf/testing_structure.h"
#include "support/errors.h"

namespace {

using lumaro::Image;
using lumaro::pdf::PdfDocument;
using lumaro::pdf::TrueTypeFont;

class Input {
  public:
    Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    bool empty() const { return at_ >= size_; }
    std::uint8_t byte() { return at_ < size_ ? data_[at_++] : 0; }
    std::uint16_t u16() { return static_cast<std::uint16_t>(byte() << 8 | byte()); }
    std::uint32_t u32() { return static_cast<std::uint32_t>(u16()) << 16 | u16(); }
    std::string bytes(std::size_t n) {
        n = std::min(n, size_ - std::min(at_, size_));
        std::string s(reinterpret_cast<const char*>(data_ + at_), n);
        at_ += n;
        return s;
    }
    // A length in points on and around an A4 page; now and then one that no
    // layout has (negative, huge, not a number).
    double length() {
        const std::uint8_t kind = byte();
        if (kind == 0xFF) {
            static const double odd[] = {std::numeric_limits<double>::quiet_NaN(),
                                         std::numeric_limits<double>::infinity(),
                                         -1e300,
                                         1e300,
                                         -0.0,
                                         5e-324};
            return odd[byte() % 6];
        }
        return (static_cast<std::int16_t>(u16()) / 32.0) + kind % 4 * 0.001;
    }

  private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

const std::string& fontFile(int which) {
    static const std::string files[] = {
        lumaro::pdf::testing::readFile(lumaro::pdf::testing::kDejaVu + "DejaVuSans.ttf"),
        lumaro::pdf::testing::readFile(lumaro::pdf::testing::kLiberation +
                                       "LiberationSerif-Italic.ttf")};
    return files[which];
}

// A real font with bytes changed at places chosen by table and offset, so
// that the changes reach the tables' headers rather than only outlines.
std::string patchedFont(const std::string& original, Input& in) {
    std::string font = original;
    const int patches = in.byte() % 8;
    if (font.size() < 12)
        return font;
    const std::size_t tables =
        static_cast<std::uint8_t>(font[4]) << 8 | static_cast<std::uint8_t>(font[5]);
    for (int i = 0; i < patches && tables > 0; ++i) {
        const std::size_t record = 12 + 16 * (in.byte() % tables);
        auto u32 = [&](std::size_t at) {
            return static_cast<std::uint32_t>(static_cast<std::uint8_t>(font[at])) << 24 |
                   static_cast<std::uint32_t>(static_cast<std::uint8_t>(font[at + 1])) << 16 |
                   static_cast<std::uint32_t>(static_cast<std::uint8_t>(font[at + 2])) << 8 |
                   static_cast<std::uint8_t>(font[at + 3]);
        };
        const std::uint8_t where = in.byte();
        const std::uint16_t offset = in.u16();
        const std::uint8_t value = in.byte();
        std::size_t at = where < 16 ? record + where : u32(record + 8) + offset % 256;
        if (where >= 16 && where < 32)
            at = u32(record + 8) + offset;  // further into the table
        if (where == 255)
            font.resize(std::min<std::size_t>(font.size(), offset * 16u));  // cut short
        else if (at < font.size())
            font[at] = static_cast<char>(value);
    }
    return font;
}

std::shared_ptr<const TrueTypeFont> loadFont(Input& in) {
    const std::uint8_t mode = in.byte() % 3;
    std::string file;
    if (mode < 2 && !fontFile(mode).empty())
        file = patchedFont(fontFile(mode), in);
    else
        file = in.bytes(in.u16());
    try {
        return std::make_shared<const TrueTypeFont>(std::move(file), in.byte() % 2);
    } catch (const lumaro::RuntimeError& e) {
        if (e.number() != lumaro::err::kPrinterError)
            std::abort();
        return nullptr;
    }
}

Image picture(Input& in) {
    Image image;
    const std::uint8_t kind = in.byte();
    image.width = in.byte() % 17;
    image.height = in.byte() % 17;
    if (kind % 4 == 0) {
        // Any bytes as a JPEG: the frame header is read to describe it.
        image.jpeg = "\xFF\xD8" + in.bytes(in.byte());
    } else if (kind % 4 == 1) {
        image.jpeg = in.bytes(in.u16());
    } else {
        // Pixels, now and then one row too few.
        const std::size_t size = static_cast<std::size_t>(image.width) * image.height * 3;
        image.rgb.resize(kind % 4 == 3 && size > 0 ? size - 3 : size);
        for (auto& p : image.rgb)
            p = in.byte();
    }
    return image;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Input in(data, size);
    const std::shared_ptr<const TrueTypeFont> font = loadFont(in);
    PdfDocument doc(lumaro::pdf::DocumentInfo{in.bytes(in.byte() % 8), {}});
    std::vector<std::unique_ptr<Image>> images;
    for (int calls = 0; !in.empty() && calls < 2000; ++calls) {
        const std::uint8_t op = in.byte();
        const std::int32_t color = static_cast<std::int32_t>(in.u32() & 0x00FFFFFF);
        switch ((op & 0x7F) % 7) {  // the high bit is a flag of the call
            case 0: {
                const double x = in.length(), y = in.length(), points = in.byte() / 4.0;
                const std::string text = in.bytes(in.byte());
                if (font) {
                    volatile std::int64_t width = font->advance(text);
                    (void)width;
                    doc.text(x, y, text, font, points, op & 0x80, color);
                }
                break;
            }
            case 1:
                doc.line(in.length(), in.length(), in.length(), in.length(), in.byte() / 8.0,
                         color);
                break;
            case 2:
                doc.outline(in.length(), in.length(), in.length(), in.length(), in.byte() / 8.0,
                            color);
                break;
            case 3:
                doc.fill(in.length(), in.length(), in.length(), in.length(), color);
                break;
            case 4: {
                // Now and then the same picture again: stored once.
                if (images.empty() || op & 0x80)
                    images.push_back(std::make_unique<Image>(picture(in)));
                doc.picture(in.length(), in.length(), in.length(), in.length(), *images.back());
                break;
            }
            case 5:
                doc.beginPage(op & 0x80 ? lumaro::pdf::kA4Height : lumaro::pdf::kA4Width,
                              op & 0x80 ? lumaro::pdf::kA4Width : lumaro::pdf::kA4Height);
                break;
            case 6:
                if (font) {
                    for (int b = 0; b < 256; ++b)
                        (void)font->advanceOfGlyph(font->glyphOf(static_cast<unsigned char>(b)));
                }
                break;
        }
    }
    try {
        const std::string pdf = doc.finish();
        if (!lumaro::pdf::testing::structureFault(pdf).empty())
            std::abort();
    } catch (const lumaro::RuntimeError& e) {
        // Only a font that cannot be embedded may stop the file.
        if (e.number() != lumaro::err::kPrinterError || !font)
            std::abort();
    }
    return 0;
}
