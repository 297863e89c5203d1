#include "pdf/pdf_document.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <utility>

#include "pdf/font_subset.h"
#include "support/codepage.h"
#include "support/errors.h"

namespace lumaro::pdf {

namespace {

// The objects every file has, at fixed numbers so that pages can name them
// before they are written.
constexpr int kCatalog = 1, kPages = 2, kResources = 3, kInfo = 4;

constexpr char kHex[] = "0123456789ABCDEF";

// Numbers as PDF writes them: no exponent, at most three decimals (a
// thousandth of a point), no trailing zeros. Values no drawing has (not
// finite, beyond ten million points) are held to a number a reader takes.
void appendNumber(std::string& out, double v) {
    if (!std::isfinite(v))
        v = 0;
    v = std::clamp(v, -1e7, 1e7);
    char buf[32];
    char* end = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, 3).ptr;
    while (end[-1] == '0')
        --end;
    if (end[-1] == '.')
        --end;
    if (end - buf == 2 && buf[0] == '-' && buf[1] == '0')
        out += '0';
    else
        out.append(buf, end);
}

void appendInt(std::string& out, long long v) {
    char buf[24];
    out.append(buf, std::to_chars(buf, buf + sizeof buf, v).ptr);
}

void appendHex4(std::string& out, std::uint32_t v) {
    out += kHex[(v >> 12) & 15];
    out += kHex[(v >> 8) & 15];
    out += kHex[(v >> 4) & 15];
    out += kHex[v & 15];
}

void appendColor(std::string& out, std::int32_t color) {
    const auto c = static_cast<std::uint32_t>(color);
    for (int shift : {0, 8, 16}) {
        appendNumber(out, ((c >> shift) & 0xFF) / 255.0);
        out += ' ';
    }
}

// Fast Flate: a batch of a thousand records spends most of its time here, and
// level 3 takes a quarter less time than the default level for files about
// four per cent larger (still half the size of the files Qt's engine wrote).
constexpr int kCompressionLevel = 3;

std::string deflate(std::string_view data) {
    uLongf size = compressBound(static_cast<uLong>(data.size()));
    std::string out(size, '\0');
    if (compress2(reinterpret_cast<Bytef*>(out.data()), &size,
                  reinterpret_cast<const Bytef*>(data.data()), static_cast<uLong>(data.size()),
                  kCompressionLevel) != Z_OK)
        raiseError(err::kPrinterError);
    out.resize(size);
    return out;
}

// Rows of RGB pixels, each after the PNG "Paeth" filter (type 4): every
// byte less the one predicted from its left, upper and upper-left
// neighbours. Pictures are mostly areas of one colour or gradients, which the
// prediction turns into runs of zeros that compress far better.
std::string paethRows(const std::vector<std::uint8_t>& rgb, int width, int height) {
    const std::size_t stride = static_cast<std::size_t>(width) * 3;
    std::string out;
    out.reserve((stride + 1) * static_cast<std::size_t>(height));
    const std::uint8_t* above = nullptr;
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* row = rgb.data() + stride * static_cast<std::size_t>(y);
        out += '\4';
        for (std::size_t x = 0; x < stride; ++x) {
            const int a = x >= 3 ? row[x - 3] : 0;
            const int b = above ? above[x] : 0;
            const int c = above && x >= 3 ? above[x - 3] : 0;
            const int p = a + b - c;
            const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
            const int predicted = pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
            out += static_cast<char>(row[x] - predicted);
        }
        above = row;
    }
    return out;
}

// A text string of the document information: UTF-16 with its byte-order mark,
// the one form every reader shows the same.
std::string textString(std::string_view cp1252) {
    std::string out = "<FEFF";
    for (char c : cp1252)
        appendHex4(out, toUnicode(static_cast<unsigned char>(c)));
    return out + ">";
}

// What a JPEG's frame header says; components 0 when the file is no JPEG a
// PDF reader decodes as it is (8 bits, Huffman-coded, grey or RGB).
struct JpegFrame {
    int width = 0, height = 0, components = 0;
};

JpegFrame jpegFrame(std::string_view j) {
    auto at = [&](std::size_t i) { return static_cast<unsigned char>(j[i]); };
    if (j.size() < 4 || at(0) != 0xFF || at(1) != 0xD8)
        return {};
    std::size_t i = 2;
    while (i + 4 <= j.size()) {
        if (at(i) != 0xFF)
            return {};
        const unsigned marker = at(i + 1);
        if (marker == 0xFF) {  // fill byte
            ++i;
            continue;
        }
        const std::size_t length = at(i + 2) << 8 | at(i + 3);
        if (marker == 0xC0 || marker == 0xC1 || marker == 0xC2) {
            if (length < 8 || i + 4 + 6 > j.size() || at(i + 4) != 8)
                return {};
            JpegFrame f;
            f.height = at(i + 5) << 8 | at(i + 6);
            f.width = at(i + 7) << 8 | at(i + 8);
            f.components = at(i + 9);
            if (f.width == 0 || f.height == 0 || (f.components != 1 && f.components != 3))
                return {};
            return f;
        }
        // Other frame types (lossless, arithmetic coding) or the scan before
        // any frame: not for a PDF as they are.
        if ((marker >= 0xC3 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 &&
             marker != 0xCC) ||
            marker == 0xDA || marker == 0xD9 || length < 2)
            return {};
        i += 2 + length;
    }
    return {};
}

}  // namespace

// A font of the file: its glyphs as the file numbers them (CID = glyph of the
// subset), and the Unicode character each stands for.
struct PdfDocument::Font {
    std::shared_ptr<const TrueTypeFont> font;
    std::string name;  // resource name: F1, F2, ...
    int object = 0;    // the Type 0 font
    std::array<std::int32_t, 256> cidOfByte;
    std::unordered_map<std::uint16_t, std::uint16_t> cidOfGlyph;
    std::vector<std::uint16_t> glyphs;  // the font's glyph of each CID
    std::vector<char32_t> unicode;      // of each CID; 0 for none
    bool missingUsed = false;           // a character the font lacks was drawn

    Font() { cidOfByte.fill(-1); }

    std::uint16_t cid(unsigned char byte) {
        if (cidOfByte[byte] >= 0)
            return static_cast<std::uint16_t>(cidOfByte[byte]);
        const std::uint16_t g = font->glyphOf(byte);
        auto [it, added] = cidOfGlyph.emplace(g, static_cast<std::uint16_t>(glyphs.size()));
        if (added) {
            glyphs.push_back(g);
            unicode.push_back(toUnicode(byte));
        }
        if (g == 0)
            missingUsed = true;
        cidOfByte[byte] = it->second;
        return it->second;
    }
};

const std::string& PictureStreams::pixels(const Image& image) {
    for (auto it = entries_.begin(); it != entries_.end(); ++it) {
        if (it->width == image.width && it->height == image.height && it->rgb == image.rgb)
            return it->stream;
    }
    // A run prints a handful of pictures; keep the latest few, so that a
    // document of many different pictures cannot grow this without end.
    constexpr std::size_t kKept = 8;
    if (entries_.size() >= kKept)
        entries_.erase(entries_.begin());
    entries_.push_back({image.width, image.height, image.rgb,
                        deflate(paethRows(image.rgb, image.width, image.height))});
    return entries_.back().stream;
}

PdfDocument::PdfDocument(DocumentInfo info, PictureStreams* pictures)
    : info_(std::move(info)), pictures_(pictures), offsets_(kInfo + 1, 0) {
    // The comment of high bytes tells transfer programs the file is binary.
    out_ = "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n";
}

PdfDocument::~PdfDocument() = default;

int PdfDocument::newObject() {
    offsets_.push_back(0);
    return static_cast<int>(offsets_.size() - 1);
}

void PdfDocument::beginObject(int number) {
    offsets_[static_cast<std::size_t>(number)] = out_.size();
    appendInt(out_, number);
    out_ += " 0 obj\n";
}

void PdfDocument::writeStream(int number, std::string_view dictionary, std::string_view data,
                              bool compress) {
    if (compress)
        writeCompressed(number, dictionary, deflate(data));
    else
        writeStreamObject(number, dictionary, "", data);
}

void PdfDocument::writeCompressed(int number, std::string_view dictionary,
                                  std::string_view packed) {
    writeStreamObject(number, dictionary, " /Filter /FlateDecode", packed);
}

void PdfDocument::writeStreamObject(int number, std::string_view dictionary,
                                    std::string_view filter, std::string_view body) {
    beginObject(number);
    out_ += "<<";
    out_ += dictionary;
    out_ += filter;
    out_ += " /Length ";
    appendInt(out_, static_cast<long long>(body.size()));
    out_ += ">>\nstream\n";
    out_ += body;
    out_ += "\nendstream\nendobj\n";
}

void PdfDocument::beginPage(double width, double height) {
    endPage();
    pages_.push_back({0, width, height});
    inPage_ = true;
    content_.clear();
    fill_ = stroke_ = -1;
    lineWidth_ = -1;
    textFont_ = nullptr;
    // Square caps and mitred corners for every line of the page.
    content_ += "2 J 0 j\n";
}

void PdfDocument::endPage() {
    if (!inPage_)
        return;
    endText();
    const int number = newObject();
    pages_.back().contents = number;
    writeStream(number, "", content_, true);
    inPage_ = false;
}

void PdfDocument::point(double x, double y) {
    appendNumber(content_, x);
    content_ += ' ';
    appendNumber(content_, pages_.back().height - y);
    content_ += ' ';
}

void PdfDocument::endText() {
    if (inText_) {
        content_ += "ET\n";
        inText_ = false;
    }
}

void PdfDocument::setFill(std::int32_t color) {
    if (fill_ == color)
        return;
    appendColor(content_, color);
    content_ += "rg\n";
    fill_ = color;
}

void PdfDocument::setStroke(std::int32_t color, double width) {
    if (stroke_ != color) {
        appendColor(content_, color);
        content_ += "RG\n";
        stroke_ = color;
    }
    if (lineWidth_ != width) {
        appendNumber(content_, width);
        content_ += " w\n";
        lineWidth_ = width;
    }
}

PdfDocument::Font& PdfDocument::fontFor(const std::shared_ptr<const TrueTypeFont>& font) {
    if (lastFont_ && lastFont_->font == font)
        return *lastFont_;
    for (auto& f : fonts_) {
        if (f->font == font)
            return *(lastFont_ = f.get());
    }
    auto f = std::make_unique<Font>();
    f->font = font;
    f->name = "F" + std::to_string(fonts_.size() + 1);
    // Glyph 0 must come first in every font program.
    f->cidOfGlyph.emplace(0, 0);
    f->glyphs.push_back(0);
    f->unicode.push_back(0);
    fonts_.push_back(std::move(f));
    return *(lastFont_ = fonts_.back().get());
}

void PdfDocument::text(double x, double baseline, std::string_view cp1252,
                       const std::shared_ptr<const TrueTypeFont>& font, double points,
                       bool underline, std::int32_t color) {
    if (!inPage_)
        beginPage(kA4Width, kA4Height);
    if (cp1252.empty() || !font)
        return;
    Font& f = fontFor(font);
    setFill(color);
    if (!inText_) {
        content_ += "BT\n";
        inText_ = true;
        textFont_ = nullptr;
    }
    if (textFont_ != &f || textSize_ != points) {
        content_ += '/';
        content_ += f.name;
        content_ += ' ';
        appendNumber(content_, points);
        content_ += " Tf\n";
        textFont_ = &f;
        textSize_ = points;
    }
    content_ += "1 0 0 1 ";
    point(x, baseline);
    content_ += "Tm <";
    for (char c : cp1252)
        appendHex4(content_, f.cid(static_cast<unsigned char>(c)));
    content_ += "> Tj\n";

    if (underline) {
        const FontFacts& facts = font->facts();
        const double perUnit = points / facts.unitsPerEm;
        const double top = baseline - facts.underlinePosition * perUnit;
        const double width = static_cast<double>(font->advance(cp1252)) * perUnit;
        endText();
        point(x, top + facts.underlineThickness * perUnit);
        appendNumber(content_, width);
        content_ += ' ';
        appendNumber(content_, facts.underlineThickness * perUnit);
        content_ += " re f\n";
    }
}

void PdfDocument::line(double x1, double y1, double x2, double y2, double width,
                       std::int32_t color) {
    if (!inPage_)
        beginPage(kA4Width, kA4Height);
    endText();
    setStroke(color, width);
    point(x1, y1);
    content_ += "m ";
    point(x2, y2);
    content_ += "l S\n";
}

void PdfDocument::outline(double x, double y, double w, double h, double width,
                          std::int32_t color) {
    if (!inPage_)
        beginPage(kA4Width, kA4Height);
    endText();
    setStroke(color, width);
    point(std::min(x, x + w), std::max(y, y + h));
    appendNumber(content_, std::abs(w));
    content_ += ' ';
    appendNumber(content_, std::abs(h));
    content_ += " re S\n";
}

void PdfDocument::fill(double x, double y, double w, double h, std::int32_t color) {
    if (!inPage_)
        beginPage(kA4Width, kA4Height);
    endText();
    setFill(color);
    point(std::min(x, x + w), std::max(y, y + h));
    appendNumber(content_, std::abs(w));
    content_ += ' ';
    appendNumber(content_, std::abs(h));
    content_ += " re f\n";
}

int PdfDocument::imageFor(const Image& image) {
    const void* pixels = image.jpeg.empty() ? static_cast<const void*>(image.rgb.data())
                                            : static_cast<const void*>(image.jpeg.data());
    StoredImage& stored = images_[&image];
    if (stored.number != 0 && stored.pixels == pixels && stored.width == image.width &&
        stored.height == image.height)
        return stored.number;

    const JpegFrame frame = image.jpeg.empty() ? JpegFrame{} : jpegFrame(image.jpeg);
    const bool jpeg = frame.components != 0;
    const std::size_t rgbSize =
        static_cast<std::size_t>(std::max(image.width, 0)) * std::max(image.height, 0) * 3;
    if (!jpeg && (rgbSize == 0 || image.rgb.size() != rgbSize))
        return 0;

    const int number = newObject();
    std::string dict = " /Type /XObject /Subtype /Image /Width ";
    appendInt(dict, jpeg ? frame.width : image.width);
    dict += " /Height ";
    appendInt(dict, jpeg ? frame.height : image.height);
    dict += jpeg && frame.components == 1 ? " /ColorSpace /DeviceGray" : " /ColorSpace /DeviceRGB";
    dict += " /BitsPerComponent 8";
    if (jpeg) {
        dict += " /Filter /DCTDecode";
        writeStream(number, dict, image.jpeg, false);
    } else {
        dict += " /DecodeParms << /Predictor 15 /Colors 3 /BitsPerComponent 8 /Columns ";
        appendInt(dict, image.width);
        dict += " >>";
        if (pictures_)
            writeCompressed(number, dict, pictures_->pixels(image));
        else
            writeStream(number, dict, paethRows(image.rgb, image.width, image.height), true);
    }
    imageObjects_.push_back(number);
    stored = {number, pixels, image.width, image.height};
    return number;
}

void PdfDocument::picture(double x, double y, double w, double h, const Image& image) {
    if (!inPage_)
        beginPage(kA4Width, kA4Height);
    // A picture of no extent shows nothing (and its matrix would have no inverse).
    if (!(std::isfinite(w) && std::isfinite(h) && w != 0 && h != 0))
        return;
    const int number = imageFor(image);
    if (number == 0)
        return;
    endText();
    // The image fills the unit square; the matrix stretches it over the
    // rectangle, a negative extent mirroring it. Its top row goes to y.
    content_ += "q ";
    appendNumber(content_, w);
    content_ += " 0 0 ";
    appendNumber(content_, h);
    content_ += ' ';
    point(x, y + h);
    content_ += "cm /Im";
    appendInt(content_, number);
    content_ += " Do Q\n";
}

void PdfDocument::writeFont(Font& f) {
    const TrueTypeFont& font = *f.font;
    const FontFacts& facts = font.facts();
    const std::size_t used = f.glyphs.size();
    std::vector<std::uint16_t> glyphs = f.glyphs;
    const std::string program = subsetFont(font, glyphs);

    // The subset's tag: six capitals made from the glyphs it holds, so that
    // two different subsets of one font never share a name.
    std::uint64_t hash = 1469598103934665603ull;
    for (std::uint16_t g : glyphs)
        hash = (hash ^ g) * 1099511628211ull;
    std::string name;
    for (int i = 0; i < 6; ++i, hash /= 26)
        name += static_cast<char>('A' + hash % 26);
    name += '+' + facts.postScriptName;

    const double perUnit = 1000.0 / facts.unitsPerEm;
    const int file = newObject(), descriptor = newObject(), cidFont = newObject(),
              toUnicode = newObject();
    {
        std::string dict = " /Length1 ";
        appendInt(dict, static_cast<long long>(program.size()));
        writeStream(file, dict, program, true);
    }
    {
        beginObject(descriptor);
        int flags = 4;  // symbolic: the glyphs are addressed by number
        if (facts.fixedPitch)
            flags |= 1;
        if (facts.italic || facts.italicAngle != 0)
            flags |= 64;
        out_ += "<< /Type /FontDescriptor /FontName /" + name + " /Flags ";
        appendInt(out_, flags);
        out_ += " /FontBBox [";
        for (int v : {facts.xMin, facts.yMin, facts.xMax, facts.yMax}) {
            out_ += ' ';
            appendNumber(out_, v * perUnit);
        }
        // Ascent and descent as Windows measures a line, so that a reader's
        // box around a word is the line the program laid out.
        out_ += " ] /ItalicAngle ";
        appendNumber(out_, facts.italicAngle);
        out_ += " /Ascent ";
        appendNumber(out_, facts.winAscent * perUnit);
        out_ += " /Descent ";
        appendNumber(out_, -facts.winDescent * perUnit);
        out_ += " /CapHeight ";
        appendNumber(out_, facts.capHeight * perUnit);
        // The stem width is not in the file; readers only use it for fonts
        // they cannot load. The usual estimate from the weight.
        const double weight = (facts.weightClass - 50) / 900.0;
        out_ += " /StemV ";
        appendInt(out_, static_cast<long long>(10 + 220 * weight * weight));
        out_ += " /FontFile2 ";
        appendInt(out_, file);
        out_ += " 0 R >>\nendobj\n";
    }
    {
        beginObject(cidFont);
        out_ += "<< /Type /Font /Subtype /CIDFontType2 /BaseFont /" + name +
                " /CIDSystemInfo << /Registry (Adobe) /Ordering (Identity) /Supplement 0 >>"
                " /FontDescriptor ";
        appendInt(out_, descriptor);
        out_ += " 0 R /CIDToGIDMap /Identity /W [0 [";
        for (std::size_t i = 0; i < glyphs.size(); ++i) {
            out_ += i % 16 == 0 ? '\n' : ' ';
            appendNumber(out_, font.advanceOfGlyph(glyphs[i]) * perUnit);
        }
        out_ += "]] >>\nendobj\n";
    }
    {
        // Each glyph the text used stands for the character it was drawn for;
        // the box for missing characters for U+FFFD, the replacement character.
        std::string map =
            "/CIDInit /ProcSet findresource begin\n12 dict begin\nbegincmap\n"
            "/CIDSystemInfo << /Registry (Adobe) /Ordering (UCS) /Supplement 0 >> def\n"
            "/CMapName /Adobe-Identity-UCS def\n/CMapType 2 def\n"
            "1 begincodespacerange\n<0000> <FFFF>\nendcodespacerange\n";
        std::vector<std::pair<std::uint16_t, char32_t>> entries;
        if (f.missingUsed)
            entries.emplace_back(0, 0xFFFD);
        for (std::size_t cid = 1; cid < used; ++cid) {
            if (f.unicode[cid] != 0)
                entries.emplace_back(static_cast<std::uint16_t>(cid), f.unicode[cid]);
        }
        for (std::size_t i = 0; i < entries.size(); i += 100) {
            const std::size_t n = std::min<std::size_t>(100, entries.size() - i);
            appendInt(map, static_cast<long long>(n));
            map += " beginbfchar\n";
            for (std::size_t k = i; k < i + n; ++k) {
                map += '<';
                appendHex4(map, entries[k].first);
                map += "> <";
                appendHex4(map, entries[k].second);
                map += ">\n";
            }
            map += "endbfchar\n";
        }
        map += "endcmap\nCMapName currentdict /CMap defineresource pop\nend\nend\n";
        writeStream(toUnicode, "", map, true);
    }
    f.object = newObject();
    beginObject(f.object);
    out_ += "<< /Type /Font /Subtype /Type0 /BaseFont /" + name +
            " /Encoding /Identity-H /DescendantFonts [";
    appendInt(out_, cidFont);
    out_ += " 0 R] /ToUnicode ";
    appendInt(out_, toUnicode);
    out_ += " 0 R >>\nendobj\n";
}

std::string PdfDocument::finish() {
    if (pages_.empty())
        beginPage(kA4Width, kA4Height);
    endPage();
    for (auto& f : fonts_)
        writeFont(*f);

    beginObject(kResources);
    out_ += "<< /Font <<";
    for (const auto& f : fonts_) {
        out_ += " /" + f->name + ' ';
        appendInt(out_, f->object);
        out_ += " 0 R";
    }
    out_ += " >> /XObject <<";
    for (int image : imageObjects_) {
        out_ += " /Im";
        appendInt(out_, image);
        out_ += ' ';
        appendInt(out_, image);
        out_ += " 0 R";
    }
    out_ += " >> >>\nendobj\n";

    std::vector<int> pageObjects;
    for (const Page& p : pages_) {
        const int number = newObject();
        pageObjects.push_back(number);
        beginObject(number);
        out_ += "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 ";
        appendNumber(out_, p.width);
        out_ += ' ';
        appendNumber(out_, p.height);
        out_ += "] /Resources 3 0 R /Contents ";
        appendInt(out_, p.contents);
        out_ += " 0 R >>\nendobj\n";
    }
    beginObject(kPages);
    out_ += "<< /Type /Pages /Kids [";
    for (int number : pageObjects) {
        appendInt(out_, number);
        out_ += " 0 R ";
    }
    out_ += "] /Count ";
    appendInt(out_, static_cast<long long>(pages_.size()));
    out_ += " >>\nendobj\n";

    beginObject(kCatalog);
    out_ += "<< /Type /Catalog /Pages 2 0 R >>\nendobj\n";

    beginObject(kInfo);
    const DateTime& t = info_.created;
    char date[40];
    std::snprintf(date, sizeof date, "(D:%04d%02d%02d%02d%02d%02d)", t.year % 10000, t.month % 100,
                  t.day % 100, t.hour % 100, t.minute % 100, t.second % 100);
    out_ += "<< /Title " + textString(info_.title) +
            " /Creator (Lumaro) /Producer (Lumaro) /CreationDate " + date + " >>\nendobj\n";

    const std::size_t xref = out_.size();
    out_ += "xref\n0 ";
    appendInt(out_, static_cast<long long>(offsets_.size()));
    out_ += "\n0000000000 65535 f \n";
    for (std::size_t i = 1; i < offsets_.size(); ++i) {
        char entry[24];
        std::snprintf(entry, sizeof entry, "%010zu 00000 n \n", offsets_[i]);
        out_ += entry;
    }
    out_ += "trailer\n<< /Size ";
    appendInt(out_, static_cast<long long>(offsets_.size()));
    out_ += " /Root 1 0 R /Info 4 0 R >>\nstartxref\n";
    appendInt(out_, static_cast<long long>(xref));
    out_ += "\n%%EOF\n";
    return std::move(out_);
}

}  // namespace lumaro::pdf
