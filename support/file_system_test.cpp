// What the file operations do alike on every system. The system's own
// cases (separators, hidden files, rights, sharing) are in
// file_system_posix_test.cpp and file_system_windows_test.cpp.
#include "support/file_system.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "tests/fakes/fakes.h"

namespace lumaro::fs {
namespace {

using lumaro::testing::TempFolder;
using lumaro::testing::w;

std::set<std::string> entriesOf(const TempFolder& t) {
    std::set<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(t.path()))
        names.insert(e.path().filename().string());
    return names;
}

TEST(ProbeOpenForReading, SortsWhatIsThereIntoTheRowsOfTheFileTest) {
    TempFolder t;
    t.write("data.xml", "");
    std::filesystem::create_directory(t.file("folder"));
    EXPECT_EQ(probeOpenForReading(t.file("data.xml")), 0);
    EXPECT_EQ(probeOpenForReading(t.file("missing.xml")), 53);
    EXPECT_EQ(probeOpenForReading(joinPath(t.file("nowhere"), "data.xml")), 76);
    EXPECT_EQ(probeOpenForReading(joinPath(t.file("data.xml"), "inner")), 76);
    EXPECT_EQ(probeOpenForReading(t.file("folder")), 75);
    EXPECT_EQ(probeOpenForReading(""), 52);
    EXPECT_EQ(probeOpenForReading(t.file(std::string(300, 'n'))), 52);
    EXPECT_EQ(probeOpenForReading(t.file("data.xml") + std::string(1, '\0') + "x"), 52);
    EXPECT_TRUE(isOrdinaryFile(t.file("data.xml")));  // empty is still a file
    EXPECT_FALSE(isOrdinaryFile(t.file("folder")));
    EXPECT_FALSE(isOrdinaryFile(t.file("missing.xml")));
}

TEST(ProbeOpenForReading, NamesWithUmlautsAreFoundUnderTheirWindows1252Bytes) {
    TempFolder t;
    const std::string name = w("Gemeindeförderung für Rinder €.txt");
    ASSERT_TRUE(appendToFile(t.file(name), "x"));
    EXPECT_EQ(probeOpenForReading(t.file(name)), 0);
    EXPECT_TRUE(isOrdinaryFile(t.file(name)));
    EXPECT_EQ(readWholeFile(t.file(name)), "x");
    EXPECT_TRUE(replaceFileAtomically(t.file(name), "y"));
    EXPECT_EQ(t.read(name), "y");
    EXPECT_TRUE(removeFile(t.file(name)));
    EXPECT_TRUE(entriesOf(t).empty());
}

TEST(ReadWholeFile, GivesEveryByteUnchanged) {
    TempFolder t;
    std::string bytes;
    for (int i = 0; i < 200000; ++i)
        bytes += static_cast<char>((i * 7) % 256);  // NULs, CRs, LFs, 0x1A, 0xFF, all of them
    t.write("big.bin", bytes);
    EXPECT_EQ(readWholeFile(t.file("big.bin")), bytes);
    EXPECT_EQ(readWholeFile(t.file("missing")), std::nullopt);
    EXPECT_EQ(readWholeFile(t.path()), std::nullopt);
}

TEST(AppendToFile, CreatesTheFileAndAddsToItsEndByteForByte) {
    TempFolder t;
    EXPECT_TRUE(appendToFile(t.file("log.txt"), "a\r\n"));
    EXPECT_TRUE(appendToFile(t.file("log.txt"), w("ü\n\x1A\r\n")));  // no text-mode translation
    EXPECT_EQ(t.read("log.txt"), "a\r\n\xFC\n\x1A\r\n");
    EXPECT_FALSE(appendToFile(joinPath(t.file("nowhere"), "log.txt"), "a"));
    EXPECT_FALSE(appendToFile(t.path(), "a"));
}

TEST(RemoveFile, DeletesAFileJustProbedAndReadButNoFolder) {
    // Every operation closes what it opened: a handle left open would stop
    // the deletion on Windows.
    TempFolder t;
    t.write("WZBeleg.xml", "<x/>");
    ASSERT_EQ(probeOpenForReading(t.file("WZBeleg.xml")), 0);
    ASSERT_TRUE(isOrdinaryFile(t.file("WZBeleg.xml")));
    ASSERT_EQ(readWholeFile(t.file("WZBeleg.xml")), "<x/>");
    EXPECT_TRUE(removeFile(t.file("WZBeleg.xml")));
    EXPECT_EQ(probeOpenForReading(t.file("WZBeleg.xml")), 53);
    EXPECT_FALSE(removeFile(t.file("WZBeleg.xml")));
    std::filesystem::create_directory(t.file("folder"));
    EXPECT_FALSE(removeFile(t.file("folder")));
    EXPECT_EQ(entriesOf(t), std::set<std::string>{"folder"});
}

TEST(ReplaceFileAtomically, WritesNewContentAndLeavesNoTemporaryFile) {
    TempFolder t;
    t.write("Halmor.ini", "old");
    EXPECT_TRUE(replaceFileAtomically(t.file("Halmor.ini"), "new\r\ncontent\n"));
    EXPECT_TRUE(replaceFileAtomically(t.file("fresh.ini"), "x"));
    EXPECT_EQ(t.read("fresh.ini"), "x");
    // Just written and read: replacing it again must not meet our own handle.
    EXPECT_EQ(readWholeFile(t.file("Halmor.ini")), "new\r\ncontent\n");
    EXPECT_TRUE(replaceFileAtomically(t.file("Halmor.ini"), ""));
    EXPECT_EQ(t.read("Halmor.ini"), "");
    EXPECT_EQ(entriesOf(t), (std::set<std::string>{"Halmor.ini", "fresh.ini"}));
}

TEST(ReplaceFileAtomically, RefusesToReplaceAFolderOrWriteIntoAMissingOne) {
    TempFolder t;
    std::filesystem::create_directory(t.file("Halmor.ini"));
    EXPECT_FALSE(replaceFileAtomically(t.file("Halmor.ini"), "x"));
    EXPECT_TRUE(std::filesystem::is_directory(t.file("Halmor.ini")));
    EXPECT_FALSE(replaceFileAtomically(joinPath(t.file("nowhere"), "Halmor.ini"), "x"));
    EXPECT_EQ(entriesOf(t), std::set<std::string>{"Halmor.ini"});
}

TEST(CreateFolders, MakesEveryMissingFolderOnTheWay) {
    TempFolder t;
    const std::string deep = joinPath(joinPath(t.file(w("Ausdrücke")), "2026"), "12");
    EXPECT_TRUE(createFolders(deep));
    EXPECT_TRUE(createFolders(deep));  // there already
    EXPECT_TRUE(createFolders(t.path()));
    t.write("file", "x");
    EXPECT_FALSE(createFolders(t.file("file")));
    EXPECT_FALSE(createFolders(joinPath(t.file("file"), "inner")));
    EXPECT_FALSE(createFolders(""));
    EXPECT_EQ(entriesOf(t).size(), 2u);  // the new folder and the file
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
    EXPECT_EQ(writeNewFile(t.file("empty.pdf"), ""), NewFile::Written);
    EXPECT_EQ(t.read("empty.pdf"), "");
    // Nothing beside them: no temporary file of any attempt.
    EXPECT_EQ(entriesOf(t).size(), 3u);
}

}  // namespace
}  // namespace lumaro::fs
