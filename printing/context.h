// Everything a drawing routine or renderer needs for one run: the services
// below it, the current print surface and the page bounds of the layout in use.
#pragma once

#include <cstdint>

#include "printing/print_surface.h"
#include "support/services.h"

namespace lumaro {

// Set by each layout's page set-up; read by the text routines (alignment 2
// centres between the left and right text bounds) and by the renderers.
struct PageBounds {
    std::int16_t intLinkerRand = 0;
    std::int16_t intRechterRand = 0;
    std::int16_t intObererRand = 0;
    std::int16_t intUntererRand = 0;
    std::int16_t intMitteLinks = 0;
    std::int16_t intMitteRechts = 0;
};

struct Context {
    Services& services;
    PrintSurface& printer;
    PictureLoader& pictures;
    PageBounds bounds;
};

}  // namespace lumaro
