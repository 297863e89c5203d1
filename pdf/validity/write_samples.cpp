// Writes sample PDFs through the PDF printer that use every primitive it
// draws (portrait and landscape, several fonts and styles, umlauts, the euro
// sign and German quotes, underline, coloured lines and dashes drawn as
// segments, boxes, JPEG and RGB pictures, a mirrored one), and beside them
// expected.json: where each word and each coloured spot must be found.
// check_samples.py then asks real PDF readers.
//
//   write_samples FOLDER TESTDATA
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "pdf/pdf_printer.h"
#include "pdf/testing_fonts.h"
#include "support/codepage.h"

namespace {

using lumaro::DeviceFont;
using lumaro::DeviceRect;
using lumaro::Image;
using lumaro::Pen;
using lumaro::pdf::PdfPrinter;

constexpr double kUnitsPerMm = PdfPrinter::kDpi / 25.4;

double mm(double v) {
    return v * kUnitsPerMm;
}

std::string jsonString(const std::string& cp1252) {
    std::string out = "\"";
    for (char c : lumaro::toUtf8(cp1252)) {
        if (c == '"' || c == '\\')
            out += '\\';
        out += c;
    }
    return out + "\"";
}

std::string number(double v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.4f", v);
    return buf;
}

class Sampler {
  public:
    Sampler(PdfPrinter& printer, std::string& json) : printer_(printer), json_(json) {}

    void begin(int number, int orientation) {
        printer_.beginJob({number,
                           {2026, 12, 5, 14, 3, 27},
                           orientation,
                           {lumaro::fromUtf8("Aufzeichnungen – Prüfung"), "", ""}});
        page_ = 1;
        words_.clear();
        spots_.clear();
    }
    void newPage() {
        printer_.newPage();
        ++page_;
    }

    // A text with the top of its line at (x, top) mm; every word of it is
    // expected where the printer's own measuring puts it.
    void text(double x, double top, const std::string& utf8, const DeviceFont& font,
              std::int32_t color = 0) {
        const std::string t = lumaro::fromUtf8(utf8);
        const lumaro::FontMetrics m = printer_.metrics(font);
        printer_.text(mm(x), mm(top) + m.ascent, t, font, color);
        std::size_t start = 0;
        while (start < t.size()) {
            const std::size_t space = t.find(' ', start);
            const std::size_t end = space == std::string::npos ? t.size() : space;
            if (end > start) {
                const double from = mm(x) + printer_.advance(font, t.substr(0, start));
                const double to = mm(x) + printer_.advance(font, t.substr(0, end));
                words_.push_back("{\"page\": " + std::to_string(page_) +
                                 ", \"text\": " + jsonString(t.substr(start, end - start)) +
                                 ", \"x0\": " + number(from / kUnitsPerMm) + ", \"x1\": " +
                                 number(to / kUnitsPerMm) + ", \"top\": " + number(top) +
                                 ", \"bottom\": " + number(top + m.height / kUnitsPerMm) + "}");
            }
            start = end + 1;
        }
    }
    // A colour that must be seen at (x, y) mm of the current page.
    void spot(double x, double y, int r, int g, int b) {
        spots_.push_back("{\"page\": " + std::to_string(page_) + ", \"x\": " + number(x) +
                         ", \"y\": " + number(y) + ", \"rgb\": [" + std::to_string(r) + ", " +
                         std::to_string(g) + ", " + std::to_string(b) + "]}");
    }

    // images: how many different pictures the file holds.
    void end(int orientation, int images) {
        const std::string path = printer_.endJob();
        const std::string name = path.substr(path.find_last_of('/') + 1);
        if (!json_.empty())
            json_ += ",\n";
        json_ +=
            "{\"file\": " + jsonString(name) + ", \"orientation\": " + std::to_string(orientation) +
            ", \"pages\": " + std::to_string(page_) + ", \"images\": " + std::to_string(images) +
            ",\n \"words\": [\n  " + join(words_) + "],\n \"spots\": [\n  " + join(spots_) + "]}";
    }

  private:
    static std::string join(const std::vector<std::string>& items) {
        std::string out;
        for (const auto& i : items)
            out += (out.empty() ? "" : ",\n  ") + i;
        return out;
    }

    PdfPrinter& printer_;
    std::string& json_;
    int page_ = 1;
    std::vector<std::string> words_, spots_;
};

DeviceFont font(const char* family, double points, bool bold = false, bool italic = false,
                bool underline = false) {
    return DeviceFont{family, points, bold, italic, underline};
}

// Left half green, right half yellow: a mirrored copy shows them swapped.
Image greenYellow() {
    Image i;
    i.width = 20;
    i.height = 10;
    for (int y = 0; y < i.height; ++y) {
        for (int x = 0; x < i.width; ++x) {
            const bool left = x < i.width / 2;
            i.rgb.insert(i.rgb.end(), {std::uint8_t(left ? 0 : 255), 255, 0});
        }
    }
    return i;
}

Image jpeg(const std::string& path, int width, int height) {
    Image i;
    i.width = width;
    i.height = height;
    i.jpeg = lumaro::pdf::testing::readFile(path);
    return i;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: write_samples FOLDER TESTDATA\n");
        return 2;
    }
    const std::string folder = argv[1], testdata = argv[2];
    lumaro::pdf::testing::DebianFonts fonts;
    PdfPrinter printer(folder, fonts);
    printer.checkReady();
    std::string json;
    Sampler s(printer, json);
    const Pen hair{mm(0.1), 0};

    s.begin(1, 1);
    s.text(20, 15, "Aufzeichnungen über Anwendung und Abgabe", font("DejaVu Sans", 14, true));
    s.text(20, 25, "Größe: äöü ÄÖÜ ß", font("DejaVu Sans", 10));
    s.text(20, 32, "Preis: 12,50 € netto", font("Liberation Sans", 10));
    s.text(20, 39, "„Zitat“ – Ende…", font("Liberation Serif", 11, false, true));
    s.text(20, 46, "Unterstrichen", font("DejaVu Sans", 10, false, false, true));
    // DejaVu Sans: the underline's top 40 units below the baseline, 90 thick,
    // 1901 units of 2048 from the top of the line to the baseline.
    s.spot(30, 46 + (1901 + 40 + 45) / 2048.0 * 10 * 25.4 / 72, 0, 0, 0);
    s.text(80, 46, "Rot", font("DejaVu Sans", 10, true, true), 0x0000FF);
    s.text(120, 46, "Wartezeit: 28 Tage", font("Liberation Mono", 8));
    s.text(20, 53, "Tierhalter: Müller", font("DejaVu Serif", 9));
    s.text(150, 280, "rechts unten", font("Liberation Sans", 7));
    // Rules and boxes.
    {
        PdfPrinter& p = printer;
        p.line(mm(20), mm(60), mm(190), mm(60), hair);
        p.line(mm(20), mm(64), mm(190), mm(64), Pen{mm(0.8), 0xFF0000});  // blue
        s.spot(100, 64, 0, 0, 255);
        for (double x = 20; x + 2 <= 60; x += 2)  // a dashed rule, one segment a dash
            p.line(mm(x), mm(68), mm(x + 1), mm(68), Pen{mm(0.5), 0});
        s.spot(20.5, 68, 0, 0, 0);
        s.spot(21.15, 68, 0, 0, 0);  // the square cap reaches half the pen beyond the end
        s.spot(21.5, 68, 255, 255, 255);
        p.outline(DeviceRect{mm(20), mm(72), mm(40), mm(20)}, hair);
        p.fill(DeviceRect{mm(70), mm(72), mm(40), mm(20)}, 0xC0C0C0);
        s.spot(90, 82, 192, 192, 192);
        p.fill(DeviceRect{mm(120), mm(72), mm(20), mm(20)}, 0x0000FF);  // red
        s.spot(130, 82, 255, 0, 0);
        s.spot(45, 82, 255, 255, 255);  // inside the outline: not filled
        // The JPEG as it is; the pixels plain and mirrored.
        const Image redBlue = jpeg(testdata + "/red_blue.jpg", 24, 16);
        p.picture(DeviceRect{mm(20), mm(100), mm(40), mm(20)}, redBlue);
        s.spot(25, 110, 255, 0, 0);
        s.spot(55, 110, 0, 0, 255);
        const Image gy = greenYellow();
        p.picture(DeviceRect{mm(70), mm(100), mm(40), mm(20)}, gy);
        s.spot(75, 110, 0, 255, 0);
        s.spot(105, 110, 255, 255, 0);
        p.picture(DeviceRect{mm(160), mm(100), mm(-40), mm(20)}, gy);  // mirrored
        s.spot(125, 110, 255, 255, 0);
        s.spot(155, 110, 0, 255, 0);
        p.picture(DeviceRect{mm(20), mm(145), mm(40), mm(-20)}, redBlue);  // upside down
        s.spot(25, 135, 255, 0, 0);
        const Image grey = jpeg(testdata + "/black_white_grey.jpg", 24, 16);
        p.picture(DeviceRect{mm(70), mm(125), mm(40), mm(20)}, grey);
        s.spot(75, 135, 0, 0, 0);
        s.spot(105, 135, 255, 255, 255);
        // The same pictures again on the next page: stored once.
        s.newPage();
        p.picture(DeviceRect{mm(20), mm(100), mm(40), mm(20)}, redBlue);
        p.picture(DeviceRect{mm(70), mm(100), mm(40), mm(20)}, gy);
        s.spot(25, 110, 255, 0, 0);
        s.spot(105, 110, 255, 255, 0);
    }
    s.text(20, 20, "Seite 2: Besamungsschein für „Berta“", font("Liberation Sans", 12, true));
    s.text(20, 30, "Kosten 1.234,56 € – bezahlt", font("DejaVu Sans", 9, false, true));
    s.end(1, 3);

    s.begin(2, 2);
    s.text(5, 5, "links oben", font("DejaVu Sans", 10));
    s.text(250, 195, "rechts unten", font("DejaVu Sans", 10));
    s.text(100, 100, "Wartezeiten 2 x A5 auf A4", font("Liberation Serif", 16, true));
    printer.line(mm(148.5), mm(0), mm(148.5), mm(210), hair);
    printer.fill(DeviceRect{mm(200), mm(20), mm(40), mm(10)}, 0x00FF00);
    s.spot(220, 25, 0, 255, 0);
    s.end(2, 0);

    std::ofstream(folder + "/expected.json") << "[\n" << json << "\n]\n";
    return 0;
}
