// The withdrawal record on two A5 halves of a landscape sheet, on any WZBeleg.xml.
#include "documents/withdrawal/two_halves/two_halves.h"
#include "fuzz/renderer_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    lumaro::fuzzing::renderWholeFile(data, size, lumaro::MediInhaltDrucken2xA5);
    return 0;
}
