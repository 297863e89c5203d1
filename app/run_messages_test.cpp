#include "app/run_messages.h"

#include <gtest/gtest.h>

#include <sstream>

#include "tests/fakes/fakes.h"

namespace lumaro {
namespace {

using testing::w;

TEST(MessageLine, PutsTheWholeMessageOnOneLine) {
    EXPECT_EQ(
        messageLine(w("Zeile 1\r\nZeile 2\nZeile 3\n\nEnde"), w("Datei fehlt!"), MessageIcon::Stop),
        "MELDUNG [stop] Datei fehlt!: Zeile 1\\nZeile 2\\nZeile 3\\n\\nEnde");
    // A lone CR is no line end of ours; it stays as it is.
    EXPECT_EQ(messageLine("a\rb", "T", MessageIcon::None), "MELDUNG [none] T: a\rb");
    EXPECT_EQ(messageLine("x", "", MessageIcon::Exclamation), "MELDUNG [exclamation] Lumaro: x");
}

TEST(RunMessagesUnattended, WritesOneUtf8LineAndTheTraceWithoutWaiting) {
    testing::TempFolder folder;
    TraceWriter trace(folder.file("t.jsonl"));
    std::ostringstream err;
    RunMessages messages(trace, nullptr, err);
    messages.show(w("Fehler 482 (Druckerfehler)\r\nnächste Zeile"), "", MessageIcon::Stop);
    EXPECT_EQ(err.str(), "MELDUNG [stop] Lumaro: Fehler 482 (Druckerfehler)\\nnächste Zeile\n");
    EXPECT_EQ(*folder.read("t.jsonl"),
              "{\"ev\":\"message\",\"title\":\"Lumaro\",\"text\":\"Fehler 482 "
              "(Druckerfehler)\\u000d\\u000anächste Zeile\",\"icon\":\"stop\"}\n");
}

TEST(RunMessagesUnattended, AlsoGoIntoTheDayLogWhenAsked) {
    testing::TestWorld world;
    TraceWriter trace;
    std::ostringstream err;
    RunMessages messages(trace, nullptr, err);
    messages.show("ohne Protokoll", "T", MessageIcon::None);
    messages.alsoLogTo(world.services);
    messages.show(w("Größe\r\nzwei"), "T", MessageIcon::Information);
    EXPECT_EQ(world.log().substr(8), w("      MELDUNG [information] T: Größe\\nzwei\r\n"));
}

}  // namespace
}  // namespace lumaro
