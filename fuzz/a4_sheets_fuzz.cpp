// The withdrawal record on A4 sheets for the animal keeper, on any WZBeleg.xml.
#include "documents/withdrawal/sheets/withdrawal_renderers.h"
#include "fuzz/renderer_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    lumaro::WithdrawalRunState state;
    lumaro::fuzzing::renderWholeFile(data, size, [&](lumaro::Context& c, const std::string& t) {
        return lumaro::MediInhaltDruckenA4Blaetter(c, state, t);
    });
    return 0;
}
