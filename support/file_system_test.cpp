#include "support/file_system.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <filesystem>
#include <set>

#include "support/testing_child.h"
#include "tests/fakes/fakes.h"

namespace lumaro::fs {
namespace {

using lumaro::testing::ChildOutcome;
using lumaro::testing::runInChild;
using lumaro::testing::TempFolder;
using lumaro::testing::w;

std::set<std::string> entriesOf(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(folder))
        names.insert(e.path().filename().string());
    return names;
}

mode_t modeOf(const std::string& path) {
    struct stat st {};
    ::stat(path.c_str(), &st);
    return st.st_mode & 07777;
}

// Lets the "nobody" user of an unprivileged child find its way into the folder.
void openToOthers(const TempFolder& t) {
    ::chmod(t.path().c_str(), 0755);
}

#define SKIP_WITHOUT_PRIVILEGE_DROP(outcome)                                            \
    if ((outcome).status == ChildOutcome::NoPrivilegeDrop)                              \
    GTEST_SKIP() << "running as root and unable to switch to an unprivileged user, so " \
                    "permission bits cannot be tested"

TEST(JoinPath, AddsOneSeparator) {
    EXPECT_EQ(joinPath("/opt/halmor", "Halmor.ini"), "/opt/halmor/Halmor.ini");
    EXPECT_EQ(joinPath("/opt/halmor/", "Halmor.ini"), "/opt/halmor/Halmor.ini");
    EXPECT_EQ(joinPath("/", "x"), "/x");
    EXPECT_EQ(joinPath("", "x"), "x");
}

TEST(ProbeOpenForReading, SortsWhatIsThereIntoTheRowsOfTheFileTest) {
    TempFolder t;
    t.write("data.xml", "<a/>");
    std::filesystem::create_directory(t.file("folder"));
    EXPECT_EQ(probeOpenForReading(t.file("data.xml")), 0);
    EXPECT_EQ(probeOpenForReading(t.file("missing.xml")), 53);
    EXPECT_EQ(probeOpenForReading(t.file("nowhere/data.xml")), 76);
    EXPECT_EQ(probeOpenForReading(t.file("data.xml/inner")), 76);
    EXPECT_EQ(probeOpenForReading(t.file("folder")), 75);
    EXPECT_EQ(probeOpenForReading(""), 52);
    EXPECT_EQ(probeOpenForReading(t.file(std::string(300, 'n'))), 52);
    EXPECT_EQ(probeOpenForReading(t.file("data.xml") + std::string(1, '\0') + "x"), 52);
    std::filesystem::create_symlink(t.file("loop"), t.file("loop"));
    EXPECT_EQ(probeOpenForReading(t.file("loop")), 52);
}

TEST(ProbeOpenForReading, APipeCountsAsNoFileAndDoesNotWaitForAWriter) {
    TempFolder t;
    ASSERT_EQ(::mkfifo(t.file("WZBeleg.xml").c_str(), 0644), 0);
    EXPECT_EQ(probeOpenForReading(t.file("WZBeleg.xml")), 75);
    EXPECT_FALSE(isOrdinaryFile(t.file("WZBeleg.xml")));
}

TEST(ProbeOpenForReading, NamesAreWindows1252OnTheWayInAndUtf8OnDisk) {
    TempFolder t;
    t.write("Gemeindeförderung.txt", "x");  // the fake writes the UTF-8 name as is
    EXPECT_EQ(probeOpenForReading(t.path() + "/" + w("Gemeindeförderung.txt")), 0);
    EXPECT_TRUE(isOrdinaryFile(t.path() + "/" + w("Gemeindeförderung.txt")));
    EXPECT_EQ(readWholeFile(t.path() + "/" + w("Gemeindeförderung.txt")), "x");
}

TEST(ProbeOpenForReading, AFileTheUserMayNotReadIsPermissionDenied) {
    TempFolder t;
    openToOthers(t);
    t.write("Halmor.ini", "[Drucker]\r\n");
    ::chmod(t.file("Halmor.ini").c_str(), 0000);
    std::filesystem::create_directory(t.file("closed"));
    t.write("closed/Besamung.xml", "x");
    ::chmod(t.file("closed").c_str(), 0000);
    const auto outcome = runInChild(
        [&] {
            return std::to_string(probeOpenForReading(t.file("Halmor.ini"))) + " " +
                   std::to_string(probeOpenForReading(t.file("closed/Besamung.xml")));
        },
        true);
    ::chmod(t.file("closed").c_str(), 0755);  // so that the folder can be cleaned up
    SKIP_WITHOUT_PRIVILEGE_DROP(outcome);
    ASSERT_EQ(outcome.status, ChildOutcome::Ran);
    EXPECT_EQ(outcome.output, "70 70");
}

TEST(IsOrdinaryFile, OnlyVisibleRegularFilesCount) {
    TempFolder t;
    t.write("WZBeleg.xml", "");
    t.write(".WZBeleg.xml", "x");
    std::filesystem::create_directory(t.file("Besamung.xml"));
    EXPECT_TRUE(isOrdinaryFile(t.file("WZBeleg.xml")));  // empty is still a file
    EXPECT_FALSE(isOrdinaryFile(t.file(".WZBeleg.xml")));
    EXPECT_FALSE(isOrdinaryFile(t.file("Besamung.xml")));
    EXPECT_FALSE(isOrdinaryFile(t.file("missing.xml")));
    EXPECT_FALSE(isOrdinaryFile(""));
}

TEST(ReadWholeFile, GivesEveryByteUnchanged) {
    TempFolder t;
    std::string bytes;
    for (int i = 0; i < 200000; ++i)
        bytes += static_cast<char>((i * 7) % 256);  // NULs, CRs, 0xFF, all of them
    t.write("big.bin", bytes);
    EXPECT_EQ(readWholeFile(t.file("big.bin")), bytes);
    t.write("empty.xml", "");
    EXPECT_EQ(readWholeFile(t.file("empty.xml")), "");
    EXPECT_EQ(readWholeFile(t.file("missing")), std::nullopt);
    EXPECT_EQ(readWholeFile(t.path()), std::nullopt);
}

TEST(AppendToFile, CreatesTheFileAndAddsToItsEnd) {
    TempFolder t;
    EXPECT_TRUE(appendToFile(t.file("log.txt"), "a\r\n"));
    EXPECT_TRUE(appendToFile(t.file("log.txt"), w("ü\r\n")));
    EXPECT_EQ(t.read("log.txt"), "a\r\n\xFC\r\n");
    EXPECT_FALSE(appendToFile(t.file("nowhere/log.txt"), "a"));
    EXPECT_FALSE(appendToFile(t.path(), "a"));
}

TEST(RemoveFile, DeletesFilesOnly) {
    TempFolder t;
    t.write("x", "1");
    EXPECT_TRUE(removeFile(t.file("x")));
    EXPECT_FALSE(t.read("x").has_value());
    EXPECT_FALSE(removeFile(t.file("x")));
    EXPECT_FALSE(removeFile(t.path()));
}

TEST(ReplaceFileAtomically, WritesNewContentAndKeepsTheFilesPermissions) {
    TempFolder t;
    t.write("Halmor.ini", "old");
    ::chmod(t.file("Halmor.ini").c_str(), 0640);
    EXPECT_TRUE(replaceFileAtomically(t.file("Halmor.ini"), "new\r\ncontent"));
    EXPECT_EQ(t.read("Halmor.ini"), "new\r\ncontent");
    EXPECT_EQ(modeOf(t.file("Halmor.ini")), 0640u);
    EXPECT_TRUE(replaceFileAtomically(t.file("fresh.ini"), "x"));
    EXPECT_EQ(t.read("fresh.ini"), "x");
    EXPECT_EQ(entriesOf(t.path()), (std::set<std::string>{"Halmor.ini", "fresh.ini"}));
}

TEST(ReplaceFileAtomically, ALinkStaysALinkAndItsTargetChanges) {
    TempFolder t;
    std::filesystem::create_directory(t.file("real"));
    t.write("real/Halmor.ini", "old");
    std::filesystem::create_symlink(t.file("real/Halmor.ini"), t.file("Halmor.ini"));
    EXPECT_TRUE(replaceFileAtomically(t.file("Halmor.ini"), "new"));
    EXPECT_TRUE(std::filesystem::is_symlink(t.file("Halmor.ini")));
    EXPECT_EQ(t.read("real/Halmor.ini"), "new");
}

TEST(ReplaceFileAtomically, RefusesToReplaceAFolder) {
    TempFolder t;
    std::filesystem::create_directory(t.file("Halmor.ini"));
    EXPECT_FALSE(replaceFileAtomically(t.file("Halmor.ini"), "x"));
    EXPECT_TRUE(std::filesystem::is_directory(t.file("Halmor.ini")));
}

TEST(ReplaceFileAtomically, AReadOnlyFolderLeavesTheOldFileAndNoTemporaryFile) {
    TempFolder t;
    openToOthers(t);
    t.write("Halmor.ini", "[Drucker]\r\nLabeldrucker=Zebra\r\n");
    ::chmod(t.file("Halmor.ini").c_str(), 0666);
    ::chmod(t.path().c_str(), 0555);
    const auto outcome = runInChild(
        [&] { return replaceFileAtomically(t.file("Halmor.ini"), "new") ? "replaced" : "refused"; },
        true);
    ::chmod(t.path().c_str(), 0755);
    SKIP_WITHOUT_PRIVILEGE_DROP(outcome);
    ASSERT_EQ(outcome.status, ChildOutcome::Ran);
    EXPECT_EQ(outcome.output, "refused");
    EXPECT_EQ(t.read("Halmor.ini"), "[Drucker]\r\nLabeldrucker=Zebra\r\n");
    EXPECT_EQ(entriesOf(t.path()), std::set<std::string>{"Halmor.ini"});
}

TEST(ReplaceFileAtomically, AReadOnlyFileIsLeftAlone) {
    TempFolder t;
    openToOthers(t);
    ::chmod(t.path().c_str(), 0777);
    t.write("Halmor.ini", "old");
    ::chmod(t.file("Halmor.ini").c_str(), 0444);
    const auto outcome = runInChild(
        [&] { return replaceFileAtomically(t.file("Halmor.ini"), "new") ? "replaced" : "refused"; },
        true);
    SKIP_WITHOUT_PRIVILEGE_DROP(outcome);
    ASSERT_EQ(outcome.status, ChildOutcome::Ran);
    EXPECT_EQ(outcome.output, "refused");
    EXPECT_EQ(t.read("Halmor.ini"), "old");
    EXPECT_EQ(entriesOf(t.path()), std::set<std::string>{"Halmor.ini"});
}

TEST(ReplaceFileAtomically, AWriteThatRunsOutOfSpaceLeavesTheOldFile) {
    // A file size limit stands in for a full disk: the write fails half-way,
    // as it would when the disk fills up.
    TempFolder t;
    const std::string old = "[Drucker]\nLabeldrucker=Zebra\n";
    t.write("Halmor.ini", old);
    const auto outcome = runInChild(
        [&] {
            ::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{4096, 4096};
            ::setrlimit(RLIMIT_FSIZE, &limit);
            return replaceFileAtomically(t.file("Halmor.ini"), std::string(100000, 'x'))
                       ? "replaced"
                       : "refused";
        },
        false);
    ASSERT_EQ(outcome.status, ChildOutcome::Ran);
    EXPECT_EQ(outcome.output, "refused");
    EXPECT_EQ(t.read("Halmor.ini"), old);
    EXPECT_EQ(entriesOf(t.path()), std::set<std::string>{"Halmor.ini"});
}

}  // namespace
}  // namespace lumaro::fs
