// The command line and the unattended message lines; both are checked word
// for word on the real program as well (tests/e2e/test_program.py).
#include "app/options.h"

#include <gtest/gtest.h>

#include <map>

#include "app/run_messages.h"
#include "tests/fakes/fakes.h"

namespace lumaro {
namespace {

ParsedOptions parse(std::vector<std::string> args, std::map<std::string, std::string> env = {}) {
    auto variable = [&](const std::string& n) -> std::optional<std::string> {
        auto it = env.find(n);
        return it == env.end() ? std::nullopt : std::optional(it->second);
    };
    return parseOptions(args, variable);
}

TEST(Options, ValuesHostArgumentsAndTheWholeCommandLine) {
    auto p = parse({"/Kunde:12", "-x", "--folder", "/srv/praxis", "--pdf=/tmp/out", "--unattended",
                    "--trace", "t.jsonl", "--archive", "/srv/archiv", "extra"});
    ASSERT_EQ(p.usageError, "");
    EXPECT_EQ(p.options.folder, "/srv/praxis");
    EXPECT_EQ(p.options.pdf, "/tmp/out");
    EXPECT_EQ(p.options.trace, "t.jsonl");
    EXPECT_EQ(p.options.archive, "/srv/archiv");
    EXPECT_TRUE(p.options.unattended);
    EXPECT_EQ(p.options.commandLine,
              "/Kunde:12 -x --folder /srv/praxis --pdf=/tmp/out "
              "--unattended --trace t.jsonl --archive /srv/archiv extra");

    // The environment fills in; the command line wins. Options given only by
    // variables are not part of the command line.
    p = parse({"--pdf", "/a"}, {{"LUMARO_PDF", "/b"},
                                {"LUMARO_FOLDER", "/f"},
                                {"LUMARO_UNATTENDED", "1"},
                                {"LUMARO_TRACE", "/t"}});
    EXPECT_EQ(p.options.pdf, "/a");
    EXPECT_EQ(p.options.folder, "/f");
    EXPECT_EQ(p.options.trace, "/t");
    EXPECT_TRUE(p.options.unattended);
    EXPECT_EQ(p.options.commandLine, "--pdf /a");
    EXPECT_FALSE(parse({}, {{"LUMARO_UNATTENDED", "0"}}).options.unattended);
}

// Usage errors (a missing value, an unknown option) are checked on the real
// program; these are the ones it does not try.
TEST(Options, UsageErrorsTheRealProgramDoesNotTry) {
    EXPECT_NE(parse({"--trace="}).usageError, "");
    EXPECT_NE(parse({"--"}).usageError, "");
    EXPECT_EQ(parse({"/Kunde:1", "--unattended=1"}).usageError,
              "lumaro: unbekannte Option --unattended=1");
}

TEST(MessageLine, PutsTheWholeMessageOnOneLine) {
    using testing::w;
    EXPECT_EQ(
        messageLine(w("Zeile 1\r\nZeile 2\nZeile 3\n\nEnde"), w("Datei fehlt!"), MessageIcon::Stop),
        "MELDUNG [stop] Datei fehlt!: Zeile 1\\nZeile 2\\nZeile 3\\n\\nEnde");
    // A lone CR is no line end of ours; it stays as it is.
    EXPECT_EQ(messageLine("a\rb", "T", MessageIcon::None), "MELDUNG [none] T: a\rb");
    EXPECT_EQ(messageLine("x", "", MessageIcon::Exclamation), "MELDUNG [exclamation] Lumaro: x");
}

}  // namespace
}  // namespace lumaro
