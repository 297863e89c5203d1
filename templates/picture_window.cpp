#include "templates/picture_window.h"

#include <cstdint>
#include <limits>
#include <string>

#include "support/codepage.h"
#include "support/conversions.h"
#include "support/errors.h"
#include "support/ini.h"
#include "support/regional.h"

namespace lumaro {

namespace {

const char* const kSection = "wdwGrafikSpeicher";

// The holder never shows itself, yet the host's settings have always carried
// its geometry, so we keep writing plausible values: the window as designed
// (197 x 148 pixels, 2955 x 2220 twips at 15 twips per pixel) centred on a
// 1920 x 1080 screen. Centring gives half pixels; a window sits on whole
// pixels, so the position is cut to the pixel grid as the platform did.
constexpr long kTwipsPerPixel = 15;
constexpr long kScreenWidth = 1920 * kTwipsPerPixel;
constexpr long kScreenHeight = 1080 * kTwipsPerPixel;
constexpr long kWidth = 2955;
constexpr long kHeight = 2220;

constexpr long onPixelGrid(double twips) {
    return static_cast<long>(twips / kTwipsPerPixel) * kTwipsPerPixel;
}
constexpr long kLeft = onPixelGrid(kScreenWidth / 2.0 - kWidth / 2.0);
constexpr long kTop = onPixelGrid(kScreenHeight / 2.0 - kHeight / 2.0);

}  // namespace

PictureWindow::PictureWindow(Context& c) : c_(c) {
    const Services& s = c_.services;
    const std::string counterKey = ansi("AufrufZähler");
    // A counter the host never wrote, or wrote empty, starts from nothing.
    const std::int32_t counter = toInt32(INIZahlLesen(s, kSection, counterKey, 0).value_or(0));
    if (counter == std::numeric_limits<std::int32_t>::max())
        raiseError(err::kOverflow);
    IniValues values;
    if (counter == 0)
        values.emplace_back(ansi("AufrufZählerStart"),
                            formatDateTime_dd_mm_yyyy_hh_mm(s.clock.now()));
    values.emplace_back(counterKey, formatInteger(static_cast<long long>(counter) + 1));
    INISpeichern(s, kSection, values);
}

PictureWindow::~PictureWindow() {
    // The unload also runs when drawing the picture failed; its writes are
    // silent by nature, and a destructor must not throw in the middle of
    // another error's way up.
    try {
        const Services& s = c_.services;
        INISpeichern(s, kSection,
                     IniValues{{"Breit", formatInteger(kWidth)},
                               {"Hoch", formatInteger(kHeight)},
                               {"Links", formatInteger(kLeft)},
                               {"Oben", formatInteger(kTop)}});
    } catch (const RuntimeError&) {
    }
}

const Picture& PictureWindow::load(const std::string& path) {
    picture_ = c_.pictures.load(path);
    return picture_;
}

}  // namespace lumaro
