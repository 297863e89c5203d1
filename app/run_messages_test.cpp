#include "app/run_messages.h"

#include <gtest/gtest.h>

#include "tests/fakes/fakes.h"

namespace lumaro {
namespace {

using testing::w;

// Each unattended message as a line on standard error, in the trace and, without
// a display, in the day log: checked word for word on the real program
// (tests/e2e/test_program.py).
TEST(MessageLine, PutsTheWholeMessageOnOneLine) {
    EXPECT_EQ(
        messageLine(w("Zeile 1\r\nZeile 2\nZeile 3\n\nEnde"), w("Datei fehlt!"), MessageIcon::Stop),
        "MELDUNG [stop] Datei fehlt!: Zeile 1\\nZeile 2\\nZeile 3\\n\\nEnde");
    // A lone CR is no line end of ours; it stays as it is.
    EXPECT_EQ(messageLine("a\rb", "T", MessageIcon::None), "MELDUNG [none] T: a\rb");
    EXPECT_EQ(messageLine("x", "", MessageIcon::Exclamation), "MELDUNG [exclamation] Lumaro: x");
}

}  // namespace
}  // namespace lumaro
