// The command line and the unattended message lines; the real program is run
// with every option, variable and usage error (tests/e2e/test_program.py).
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

TEST(Options, TheCommandLineWinsOverTheEnvironmentAndIsLoggedWhole) {
    auto p = parse({"/Kunde:12", "-x", "--pdf", "/a", "--archive=/z"}, {{"LUMARO_PDF", "/b"},
                                                                        {"LUMARO_FOLDER", "/f"},
                                                                        {"LUMARO_UNATTENDED", "1"},
                                                                        {"LUMARO_TRACE", "/t"}});
    ASSERT_EQ(p.usageError, "");
    EXPECT_EQ(p.options.pdf, "/a");
    EXPECT_EQ(p.options.folder, "/f");
    EXPECT_EQ(p.options.trace, "/t");
    EXPECT_EQ(p.options.archive, "/z");
    EXPECT_TRUE(p.options.unattended);
    // Options given only by variables are not part of the command line.
    EXPECT_EQ(p.options.commandLine, "/Kunde:12 -x --pdf /a --archive=/z");
    EXPECT_FALSE(parse({}, {{"LUMARO_UNATTENDED", "0"}}).options.unattended);
}

// Every kind of box and a message's own title are checked on the real program.
TEST(MessageLine, PutsTheWholeMessageOnOneLine) {
    EXPECT_EQ(messageLine("Zeile 1\r\nZeile 2\nZeile 3\n\nEnde", "", MessageIcon::Stop),
              "MELDUNG [stop] Lumaro: Zeile 1\\nZeile 2\\nZeile 3\\n\\nEnde");
}

}  // namespace
}  // namespace lumaro
