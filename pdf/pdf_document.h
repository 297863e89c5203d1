// One PDF file in memory: pages of the size the caller gives, text in
// embedded TrueType subsets (Type 0 fonts, Identity-H, with a ToUnicode map so
// that text is found and copied as it was written), lines, boxes, pictures.
//
// Lengths are PDF points (1/72 inch) with (0, 0) at the top-left corner of
// the page and y growing downwards, as the print device has them; the
// document turns them into PDF's own upward y. Colours are 0x00BBGGRR.
//
// Drawing builds each page's content as it comes; finish() adds the fonts
// (only the glyphs the file used), the cross-reference table and the trailer.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "pdf/true_type_font.h"
#include "printing/picture.h"
#include "support/services.h"

namespace lumaro::pdf {

// A4 in points: 210 x 297 mm.
inline constexpr double kA4Width = 210 / 25.4 * 72;
inline constexpr double kA4Height = 297 / 25.4 * 72;

// The compressed pixels of pictures, kept across the files of one printer: a
// logo printed on every record is filtered and compressed once, not once a
// file (that was most of the cost of a big batch).
class PictureStreams {
  public:
    // The Flate stream of the picture's PNG-filtered rows.
    const std::string& pixels(const Image& image);

  private:
    struct Entry {
        int width = 0, height = 0;
        std::vector<std::uint8_t> rgb;  // compared whole: never another picture's stream
        std::string stream;
    };
    std::vector<Entry> entries_;  // the latest last
};

struct DocumentInfo {
    std::string title = "Lumaro";  // Windows-1252
    DateTime created;
};

class PdfDocument {
  public:
    // pictures: where compressed pixels are kept across files; nullptr to
    // compress them for this file only. It must outlive the document.
    explicit PdfDocument(DocumentInfo info, PictureStreams* pictures = nullptr);
    ~PdfDocument();
    PdfDocument(const PdfDocument&) = delete;
    PdfDocument& operator=(const PdfDocument&) = delete;

    // Starts a page (the first one too); width and height in points.
    void beginPage(double width, double height);

    // A Windows-1252 text whose first glyph starts at x on the baseline, at
    // the size in points; underline draws the font's own underline below it.
    void text(double x, double baseline, std::string_view cp1252,
              const std::shared_ptr<const TrueTypeFont>& font, double points, bool underline,
              std::int32_t color);
    // Lines and outlines with square caps and mitred corners.
    void line(double x1, double y1, double x2, double y2, double width, std::int32_t color);
    void outline(double x, double y, double w, double h, double width, std::int32_t color);
    void fill(double x, double y, double w, double h, std::int32_t color);
    // The picture stretched over the rectangle; a negative width or height
    // mirrors it about (x, y). A JPEG goes in unchanged, anything else as its
    // compressed pixels. A picture without pixels draws nothing.
    void picture(double x, double y, double w, double h, const Image& image);

    // The whole file. Raises RuntimeError 482 when a font cannot be embedded.
    std::string finish();

  private:
    struct Font;
    struct Page {
        int contents = 0;  // object number of the content stream
        double width = 0, height = 0;
    };

    int newObject();
    void beginObject(int number);
    void writeStream(int number, std::string_view dictionary, std::string_view data, bool compress);
    // A stream whose data is Flate-compressed already.
    void writeCompressed(int number, std::string_view dictionary, std::string_view packed);
    // One stream object: the dictionary's entries, the filter's, the length, the body.
    void writeStreamObject(int number, std::string_view dictionary, std::string_view filter,
                           std::string_view body);
    void endPage();
    Font& fontFor(const std::shared_ptr<const TrueTypeFont>& font);
    int imageFor(const Image& image);
    void endText();
    void setFill(std::int32_t color);
    void setStroke(std::int32_t color, double width);
    void point(double x, double y);  // "x y " in PDF's coordinates
    void writeFont(Font& font);

    DocumentInfo info_;
    PictureStreams* pictures_;
    std::string out_;                   // the file so far
    std::vector<std::size_t> offsets_;  // of each object, by number; [0] unused
    std::vector<Page> pages_;
    std::string content_;  // of the page being drawn
    bool inPage_ = false, inText_ = false;
    std::int64_t fill_ = -1, stroke_ = -1;
    double lineWidth_ = -1;
    const Font* textFont_ = nullptr;
    double textSize_ = -1;
    std::vector<std::unique_ptr<Font>> fonts_;
    Font* lastFont_ = nullptr;
    // Pictures already in the file, by the image they show: a logo drawn on
    // every page is stored once. The pixels' address and the size guard
    // against an image that took the place of a freed one.
    struct StoredImage {
        int number = 0;
        const void* pixels = nullptr;
        int width = 0, height = 0;
    };
    std::unordered_map<const Image*, StoredImage> images_;
    std::vector<int> imageObjects_;
};

}  // namespace lumaro::pdf
