#include <string>

#include "printing/drawing.h"
#include "support/errors.h"
#include "support/run_log.h"

namespace lumaro {

namespace {

// A dashed rule is meant for a page; this many dashes are far more than any
// sheet holds and keep a nonsense length (or one so large that adding 2 no
// longer changes it) from drawing forever.
constexpr int kMaxDashes = 100000;

}  // namespace

void PrintPicture(Context& c, const Picture& picture, std::int32_t lngX, std::int32_t lngY,
                  std::int32_t lngBreite, std::int32_t lngHoehe) {
    try {
        if (lngBreite > 0 && lngHoehe > 0) {
            // Nothing loaded, nothing to draw: the caller goes on quietly.
            if (picture.handle != 0)
                c.printer.paintPicture(picture, lngX, lngY, lngBreite, lngHoehe);
        } else {
            c.printer.paintPicture(picture, lngX, lngY);
        }
    } catch (const RuntimeError& e) {
        const std::string text = formatErrorText(e, "PrintPicture");
        Protokollieren(c.services, text, 4);
        c.services.messages.show(text, "", MessageIcon::Stop);
    }
}

void LinieDrucken(Context& c, double dblXVon, double dblXBis, double dblY,
                  std::int16_t bolGestrichelt) {
    if (bolGestrichelt != kTrue) {
        c.printer.line(dblXVon, dblY, dblXBis, dblY);
        return;
    }
    // 1-unit dashes with 1-unit gaps; the first is always drawn, the last
    // starts no later than two units before the end.
    double x = dblXVon;
    int dashes = 0;
    do {
        c.printer.line(x, dblY, x + 1, dblY);
        x += 2;
    } while (x + 2 <= dblXBis && ++dashes < kMaxDashes);
}

void KastenDrucken(Context& c, double dblX, double dblY, double dblBreite, double dblHoehe,
                   const std::string& strText, std::int16_t intSize, std::int16_t bolAngekreuzt,
                   std::int32_t lngFarbe) {
    PrintSurface& s = c.printer;
    if (lngFarbe == 0)
        s.boxOutline(dblX, dblY, dblX + dblBreite, dblY + dblHoehe);
    else
        s.filledBox(dblX, dblY, dblX + dblBreite, dblY + dblHoehe, lngFarbe);

    s.setCurrentX(dblX + dblBreite + 1);
    s.setCurrentY(dblY);
    if (intSize > 0)
        s.setFontSize(intSize);
    s.print(strText);

    if (bolAngekreuzt == kTrue) {
        s.setCurrentX(dblX + 0.4);
        s.setCurrentY(dblY - 0.4);
        s.setFontBold(true);
        // The cross fills the small 3 x 3 check boxes of the forms.
        if (dblBreite == 3 && dblHoehe == 3)
            s.setFontSize(10);
        s.print("X");
        if (intSize > 0)
            s.setFontSize(intSize);
        s.setFontBold(false);
    }
}

}  // namespace lumaro
