// The template engine on any text: the plain template at two offsets, the
// head above the dividing line and the foot below it, measured and drawn.
//
// Input: the template text. The program folder holds "logo.png", which the
// fake loader takes, and "bild.bad", which it refuses.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/fuzz_world.h"
#include "templates/templates.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace lumaro;
    using namespace lumaro::fuzzing;
    const std::string vorlage(asText(data, size));

    for (std::int16_t versatz : {0, 150}) {
        runInWorld([&](World& w) { XMLVorlageHinzufuegen(w.context, vorlage, versatz); });
    }

    runInWorld([&](World& w) {
        double kopfUnten = 0;
        DokuKopfHinzufuegen(w.context, vorlage, 105, kopfUnten);
        check(kopfUnten >= 0, "the head ends above the page");
    });

    // The two-halves sheet measures its foot first and then draws it where
    // the measurement said: both passes must agree unless one of them reported
    // an error (only drawing loads pictures, so only drawing meets a bad one),
    // and measuring draws nothing.
    double measured = -1;
    std::size_t measureMessages = 0;
    const bool measuredToEnd = runInWorld([&](World& w) {
        DokuFussHinzufuegen(w.context, vorlage, 105, measured, -1);
        check(w.surface.calls.empty(), "measuring the foot drew on the page");
        measureMessages = w.messages.shown.size();
    });
    double drawn = -1;
    std::size_t drawMessages = 0;
    const bool drawnToEnd = runInWorld([&](World& w) {
        DokuFussHinzufuegen(w.context, vorlage, 105, drawn, 0);
        drawMessages = w.messages.shown.size();
    });
    if (measuredToEnd && drawnToEnd && measureMessages == 0 && drawMessages == 0)
        check(measured == drawn, "the foot was measured at one height and drawn at another");
    return 0;
}
