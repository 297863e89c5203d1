// The PDF printer on one typical job: a two-page drug record (a letterhead,
// about 60 texts a page in DejaVu Sans and its bold, a table of rules, grey
// bands, dashed rules, a small logo). Prints the file's size and the time of
// one job, median of many, split into building the PDF in memory and the
// whole job with its file (written into the system's temporary folder, or
// TMPDIR; each file is flushed to disk, so a real disk adds its own time).
// Also the one-off cost of reading the two fonts.
//
//   pdf_bench [RUNS [COPY]]      (default 200 runs; COPY: where to keep the last file)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "pdf/pdf_printer.h"
#include "pdf/testing_fonts.h"
#include "support/codepage.h"
#include "support/file_system.h"
#include "tests/fakes/fakes.h"

namespace {

using lumaro::DeviceFont;
using lumaro::DeviceRect;
using lumaro::Pen;
using lumaro::pdf::PdfPrinter;
using Clock = std::chrono::steady_clock;

double mm(double v) {
    return v * PdfPrinter::kDpi / 25.4;
}

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

lumaro::Image logo() {
    lumaro::Image i;
    i.width = 120;
    i.height = 40;
    for (int y = 0; y < i.height; ++y)
        for (int x = 0; x < i.width; ++x)
            i.rgb.insert(i.rgb.end(), {std::uint8_t(x * 2), std::uint8_t(y * 6), 160});
    return i;
}

// The calls of one record, the way the surface hands them to the device.
void drawRecord(PdfPrinter& p, int number, const lumaro::Image& picture) {
    const DeviceFont plain{"DejaVu Sans", 9}, bold{"DejaVu Sans", 9, true},
        title{"DejaVu Sans", 14, true};
    const Pen hair{mm(0.1), 0};
    p.beginJob({number, {2026, 12, 5, 14, 3, 27}, 1, {}});
    for (int page = 0; page < 2; ++page) {
        if (page > 0)
            p.newPage();
        p.picture(DeviceRect{mm(150), mm(10), mm(45), mm(15)}, picture);
        p.text(mm(15), mm(20), lumaro::fromUtf8("Tierarztpraxis Dr. Müller · Hauptstraße 12"),
               plain, 0);
        p.text(mm(15), mm(35),
               lumaro::fromUtf8("Aufzeichnungen über Anwendung und Abgabe von Tierarzneimitteln"),
               title, 0);
        double y = 50;
        for (int row = 0; row < 28; ++row, y += 8) {
            if (row % 4 == 0)
                p.fill(DeviceRect{mm(15), mm(y - 3), mm(180), mm(4)}, 0xC0C0C0);
            p.text(mm(15), mm(y), lumaro::fromUtf8("Rind DE 0123456789 „Berta“"), bold, 0);
            p.text(mm(80), mm(y),
                   lumaro::fromUtf8("Amoxicillin 150 mg/ml, 12,5 ml – i.m. Wartezeit 28 Tage"),
                   plain, 0);
            p.line(mm(15), mm(y + 2), mm(195), mm(y + 2), hair);
        }
        for (double x = 15; x + 2 <= 195; x += 2)
            p.line(mm(x), mm(y + 4), mm(x + 1), mm(y + 4), hair);
        p.outline(DeviceRect{mm(15), mm(45), mm(180), mm(y - 40)}, hair);
        p.text(mm(15), mm(285), lumaro::fromUtf8("Seite ") + std::to_string(page + 1), plain, 0);
    }
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
    lumaro::testing::TempFolder folder;
    lumaro::pdf::testing::DebianFonts fonts;
    PdfPrinter printer(folder.path(), fonts);
    const lumaro::Image picture = logo();

    auto start = Clock::now();
    printer.advance(DeviceFont{"DejaVu Sans", 9}, "x");
    printer.advance(DeviceFont{"DejaVu Sans", 9, true}, "x");
    const double fontsRead = millisecondsSince(start);

    // Building only: the job cancelled after its calls, then the same calls
    // with the file made in memory by endJob's own writer are measured below.
    std::vector<double> drawing, whole;
    std::string path;
    for (int run = 0; run < runs; ++run) {
        start = Clock::now();
        drawRecord(printer, 1, picture);
        drawing.push_back(millisecondsSince(start));
        printer.cancelJob();

        start = Clock::now();
        drawRecord(printer, run + 1, picture);
        path = printer.endJob();
        whole.push_back(millisecondsSince(start));
        if (run + 1 < runs)
            lumaro::fs::removeFile(path);
    }
    const auto pdf = lumaro::fs::readWholeFile(path);
    std::printf("fonts read and parsed once: %.2f ms (DejaVu Sans, DejaVu Sans Bold)\n", fontsRead);
    std::printf("one two-page record, %d runs:\n", runs);
    std::printf("  drawing calls only (content built, no fonts or file): %.3f ms\n",
                median(drawing));
    std::printf("  whole job (subsets, compression, file written and flushed): %.3f ms\n",
                median(whole));
    std::printf("  file size: %zu bytes\n", pdf ? pdf->size() : std::size_t{0});
    if (argc > 2 && pdf)
        lumaro::fs::replaceFileAtomically(argv[2], *pdf);
    return 0;
}
