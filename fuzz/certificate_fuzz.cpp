// The insemination certificate on any Besamung.xml.
#include "documents/insemination/insemination.h"
#include "fuzz/renderer_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    lumaro::fuzzing::renderWholeFile(data, size, lumaro::BesamungsscheinDrucken);
    return 0;
}
