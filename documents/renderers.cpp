#include "documents/renderers.h"

#include <memory>

#include "documents/insemination/insemination.h"
#include "documents/withdrawal/sheets/withdrawal_renderers.h"
#include "documents/withdrawal/two_halves/two_halves.h"

namespace lumaro {

Renderers makeRenderers() {
    // The A4 and A5 sheets share what they keep across records and files of
    // one run (the owner lines of the keeper's copy).
    auto state = std::make_shared<WithdrawalRunState>();
    Renderers r;
    r.besamungsschein = [](Context& c, const std::string& text) {
        return BesamungsscheinDrucken(c, text);
    };
    r.a4Blaetter = [state](Context& c, const std::string& text) {
        return MediInhaltDruckenA4Blaetter(c, *state, text);
    };
    r.a5Blaetter = [state](Context& c, const std::string& text) {
        return MediInhaltDruckenA5Blaetter(c, *state, text);
    };
    r.zweiMalA5 = [](Context& c, const std::string& text) {
        return MediInhaltDrucken2xA5(c, text);
    };
    return r;
}

}  // namespace lumaro
