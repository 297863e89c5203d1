// What the file operations do alike on every system; the systems' own cases
// are in file_system_posix_test.cpp and file_system_windows_test.cpp.
#include "support/file_system.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/fakes/fakes.h"

namespace lumaro::fs {
namespace {

using lumaro::testing::TempFolder;
using lumaro::testing::w;

std::size_t entries(const TempFolder& t) {
    const std::filesystem::directory_iterator all(t.path());
    return static_cast<std::size_t>(std::distance(begin(all), end(all)));
}

TEST(ProbeOpenForReading, SortsWhatIsThereIntoTheRowsOfTheFileTest) {
    TempFolder t;
    t.write("data.xml", "");
    std::filesystem::create_directory(t.file("folder"));
    struct Case {
        std::string path;
        int expected;
    };
    for (const Case& c : std::vector<Case>{
             {t.file("data.xml"), 0},  // empty is still a file
             {t.file("missing.xml"), 53},
             {joinPath(t.file("nowhere"), "data.xml"), 76},
             {joinPath(t.file("data.xml"), "inner"), 76},
             {t.file("folder"), 75},
             {"", 52},
             {t.file(std::string(300, 'n')), 52},
             {t.file("data.xml") + std::string(1, '\0') + "x", 52},
         }) {
        EXPECT_EQ(probeOpenForReading(c.path), c.expected) << c.path;
        EXPECT_EQ(isOrdinaryFile(c.path), c.expected == 0) << c.path;
    }
}

TEST(ReplaceFileAtomically, WritesNewContentOnlyOverAFileAndLeavesNoTemporaryFile) {
    TempFolder t;
    const std::string ini = w("Halmor für €.ini");  // names are Windows-1252
    t.write(ini, "old");
    // Just read: replacing it must not meet our own handle.
    EXPECT_EQ(readWholeFile(t.file(ini)), "old");
    EXPECT_TRUE(replaceFileAtomically(t.file(ini), "new\r\ncontent\n"));
    EXPECT_EQ(t.read(ini), "new\r\ncontent\n");
    EXPECT_TRUE(replaceFileAtomically(t.file("fresh.ini"), ""));
    EXPECT_EQ(t.read("fresh.ini"), "");
    std::filesystem::create_directory(t.file("folder.ini"));
    EXPECT_FALSE(replaceFileAtomically(t.file("folder.ini"), "x"));
    EXPECT_FALSE(replaceFileAtomically(joinPath(t.file("nowhere"), "Halmor.ini"), "x"));
    EXPECT_TRUE(std::filesystem::is_directory(t.file("folder.ini")));
    EXPECT_EQ(entries(t), 3u);
}

TEST(WriteNewFile, WritesEveryByteAndNeverReplacesWhatIsThere) {
    TempFolder t;
    std::string bytes;
    for (int i = 0; i < 100000; ++i)
        bytes += static_cast<char>((i * 13) % 256);
    const std::string name = w("2026-12-05_job001 ä€.pdf");
    EXPECT_EQ(writeNewFile(t.file(name), bytes), NewFile::Written);
    EXPECT_EQ(t.read(name), bytes);
    EXPECT_TRUE(isOrdinaryFile(t.file(name)));  // not hidden as its temporary file was
    // Taken by our own file, by a folder: both stay as they are.
    EXPECT_EQ(writeNewFile(t.file(name), "other"), NewFile::NameTaken);
    EXPECT_EQ(t.read(name), bytes);
    std::filesystem::create_directory(t.file("folder.pdf"));
    EXPECT_EQ(writeNewFile(t.file("folder.pdf"), "x"), NewFile::NameTaken);
    EXPECT_EQ(writeNewFile(joinPath(t.file("nowhere"), "a.pdf"), "x"), NewFile::Failed);
    EXPECT_EQ(writeNewFile("", "x"), NewFile::Failed);
    EXPECT_EQ(entries(t), 2u);  // no temporary file of any attempt
}

}  // namespace
}  // namespace lumaro::fs
