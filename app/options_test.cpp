#include "app/options.h"

#include <gtest/gtest.h>

#include <map>

namespace lumaro {
namespace {

ParsedOptions parse(std::vector<std::string> args, std::map<std::string, std::string> env = {},
                    IsFolder isFolder = {}) {
    auto variable = [&](const std::string& n) -> std::optional<std::string> {
        auto it = env.find(n);
        return it == env.end() ? std::nullopt : std::optional(it->second);
    };
    return parseOptions(args, variable, isFolder);
}

TEST(Options, ValuesHostArgumentsAndTheWholeCommandLine) {
    auto p = parse({"/Kunde:12", "--folder", "/srv/praxis", "--pdf=/tmp/out", "--unattended",
                    "--trace", "t.jsonl", "extra"});
    ASSERT_EQ(p.usageError, "");
    EXPECT_EQ(p.options.folder, "/srv/praxis");
    EXPECT_EQ(p.options.pdf, "/tmp/out");
    EXPECT_EQ(p.options.trace, "t.jsonl");
    EXPECT_TRUE(p.options.unattended);
    EXPECT_EQ(p.options.commandLine,
              "/Kunde:12 --folder /srv/praxis --pdf=/tmp/out --unattended --trace t.jsonl extra");
}

TEST(Options, MissingValueIsAUsageError) {
    EXPECT_NE(parse({"--folder"}).usageError, "");
    EXPECT_NE(parse({"--pdf", "--unattended"}).usageError, "");
    EXPECT_NE(parse({"--trace="}).usageError, "");
}

TEST(Options, AnUnknownDoubleDashArgumentIsAUsageError) {
    EXPECT_EQ(parse({"--fodler", "x"}).usageError, "lumaro: unbekannte Option --fodler");
    EXPECT_EQ(parse({"/Kunde:1", "--unattended=1"}).usageError,
              "lumaro: unbekannte Option --unattended=1");
    EXPECT_NE(parse({"--"}).usageError, "");
    // Single dashes and everything else stay host arguments; --archive is an
    // option with its value.
    auto p = parse({"-x", "/Kunde:1", "--archive", "/srv/archiv"});
    EXPECT_EQ(p.usageError, "");
    EXPECT_EQ(p.options.archive, "/srv/archiv");
}

TEST(Options, EnvironmentFillsInAndTheCommandLineWins) {
    auto p = parse({"--pdf", "/a"}, {{"LUMARO_PDF", "/b"},
                                     {"LUMARO_FOLDER", "/f"},
                                     {"LUMARO_UNATTENDED", "1"},
                                     {"LUMARO_TRACE", "/t"}});
    EXPECT_EQ(p.options.pdf, "/a");
    EXPECT_EQ(p.options.folder, "/f");
    EXPECT_EQ(p.options.trace, "/t");
    EXPECT_TRUE(p.options.unattended);
    // Options given only by variables are not part of the command line.
    EXPECT_EQ(p.options.commandLine, "--pdf /a");
    EXPECT_FALSE(parse({}, {{"LUMARO_UNATTENDED", "0"}}).options.unattended);
    EXPECT_EQ(parse({}).options.commandLine, "");
}

}  // namespace
}  // namespace lumaro
