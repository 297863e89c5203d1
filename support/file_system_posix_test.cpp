// The file operations' POSIX cases: names on disk, links, pipes and permission
// bits, the latter in a forked child that drops root first.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <set>

#include "support/file_system.h"
#include "support/testing_child_posix.h"
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

TEST(FindInFolder, NamesAreFoundWhateverTheirCaseTheExactOneFirstThenByByteOrder) {
    TempFolder t;
    for (const char* name : {"Besamung.XML", "besamung.xml", "BESAMUNG.xml"})
        t.write(name, "");
    t.write(w("Gemeindeförderung.txt"), "");
    EXPECT_EQ(findInFolder(t.path(), "besamung.xml"), t.file("besamung.xml"));
    EXPECT_EQ(findInFolder(t.path(), "besamung.XML"), t.file("BESAMUNG.xml"));
    EXPECT_EQ(findInFolder(t.path(), w("GEMEINDEFÖRDERUNG.TXT")),
              t.file(w("Gemeindeförderung.txt")));
    EXPECT_EQ(entriesOf(t.path()).count("Gemeindeförderung.txt"), 1u);  // UTF-8 on disk
    EXPECT_EQ(findInFolder(t.path(), "Halmor.mdb"), t.file("Halmor.mdb"));
    EXPECT_EQ(findInFolder(t.file("weg"), "Halmor.ini"), t.file("weg") + "/Halmor.ini");
}

TEST(ProbeOpenForReading, LinkCirclesPipesAndDotFilesAreNoOrdinaryFiles) {
    TempFolder t;
    std::filesystem::create_symlink(t.file("loop"), t.file("loop"));
    EXPECT_EQ(probeOpenForReading(t.file("loop")), 52);
    // A pipe must not make us wait for a writer.
    ASSERT_EQ(::mkfifo(t.file("WZBeleg.xml").c_str(), 0644), 0);
    EXPECT_EQ(probeOpenForReading(t.file("WZBeleg.xml")), 75);
    EXPECT_FALSE(isOrdinaryFile(t.file("WZBeleg.xml")));
    t.write(".WZBeleg.xml", "x");  // a leading dot hides a file
    EXPECT_FALSE(isOrdinaryFile(t.file(".WZBeleg.xml")));
}

// The host's settings file may be shared through a link or locked down by
// its mode; replacing it must keep both.
TEST(ReplaceFileAtomically, KeepsTheFilesModeAndALinkStaysALink) {
    TempFolder t;
    t.write("Halmor.ini", "old");
    ::chmod(t.file("Halmor.ini").c_str(), 0640);
    EXPECT_TRUE(replaceFileAtomically(t.file("Halmor.ini"), "new"));
    struct stat st {};
    ::stat(t.file("Halmor.ini").c_str(), &st);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    std::filesystem::create_directory(t.file("real"));
    std::filesystem::rename(t.file("Halmor.ini"), t.file("real/Halmor.ini"));
    std::filesystem::create_symlink(t.file("real/Halmor.ini"), t.file("Halmor.ini"));
    EXPECT_TRUE(replaceFileAtomically(t.file("Halmor.ini"), "newer"));
    EXPECT_TRUE(std::filesystem::is_symlink(t.file("Halmor.ini")));
    EXPECT_EQ(t.read("real/Halmor.ini"), "newer");
}

// A full disk is the PDF printer's test; a read-only Halmor.ini runs in tests/e2e.
TEST(WriteNewFile, AReadOnlyFolderLeavesNoNewFileAndTheOldOneAsItWas) {
    TempFolder t;
    t.write("Halmor.ini", "[Drucker]\r\nLabeldrucker=Zebra\r\n");
    ::chmod(t.file("Halmor.ini").c_str(), 0666);
    ::chmod(t.path().c_str(), 0555);
    const auto readOnly = runInChild(
        [&] {
            return std::string(writeNewFile(t.file("job.pdf"), "x") == NewFile::Failed ? "failed "
                                                                                       : "other ") +
                   (replaceFileAtomically(t.file("Halmor.ini"), "new") ? "replaced" : "refused");
        },
        true);
    ::chmod(t.path().c_str(), 0755);
    if (readOnly.status == ChildOutcome::NoPrivilegeDrop)
        GTEST_SKIP() << "running as root and unable to switch to an unprivileged user";
    ASSERT_EQ(readOnly.status, ChildOutcome::Ran);
    EXPECT_EQ(readOnly.output, "failed refused");
    EXPECT_EQ(t.read("Halmor.ini"), "[Drucker]\r\nLabeldrucker=Zebra\r\n");
    EXPECT_EQ(entriesOf(t.path()), std::set<std::string>{"Halmor.ini"});
}

}  // namespace
}  // namespace lumaro::fs
