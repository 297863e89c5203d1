// A system printer through Qt; the built-in PDF printer's drawing is checked
// by the examples' traces and by real PDF readers.
#include "platform/qt/qt_device.h"

#include <gtest/gtest.h>

#include "printing/print_surface.h"
#include "support/errors.h"
#include "tests/fakes/fakes.h"

namespace lumaro::platform {
namespace {

TEST(QtPrinterSystem, APrinterThatHasGoneStillMeasuresButPrintingIsError482AndStartsNoJob) {
    lumaro::testing::FixedClock clock;
    QtPrinterSystem system;
    PrintSurface surface{FontTable::standIns(), clock};
    surface.useDevice(system.open(lumaro::testing::w("Kein solcher Drucker")));
    EXPECT_EQ(surface.deviceName(), "Kein solcher Drucker");
    EXPECT_GT(surface.textWidth("abc"), 0);
    EXPECT_EQ(lumaro::testing::errorOf([&] { surface.print("abc"); }), err::kPrinterError);
    EXPECT_EQ(surface.jobCount(), 0);
}

}  // namespace
}  // namespace lumaro::platform
