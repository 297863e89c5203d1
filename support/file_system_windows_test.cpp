// The file operations' Windows cases: separators and drives, names in
// Unicode, devices, hidden and system files, and what other programs holding
// a file open do to reading, deleting and replacing it.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <set>
#include <thread>

#include "support/file_system.h"
#include "support/testing_handles_windows.h"
#include "tests/fakes/fakes.h"

namespace lumaro::fs {
namespace {

using lumaro::testing::attributesOf;
using lumaro::testing::HeldFile;
using lumaro::testing::setAttributes;
using lumaro::testing::TempFolder;
using lumaro::testing::w;
using lumaro::testing::widePath;

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

std::set<std::wstring> entriesOf(const TempFolder& t) {
    std::set<std::wstring> names;
    for (const auto& e : std::filesystem::directory_iterator(widePath(t.path())))
        names.insert(e.path().filename().wstring());
    return names;
}

TEST(JoinPath, AddsOneBackslash) {
    EXPECT_EQ(joinPath("C:\\Halmor", "Halmor.ini"), "C:\\Halmor\\Halmor.ini");
    EXPECT_EQ(joinPath("C:\\Halmor/", "Halmor.ini"), "C:\\Halmor/Halmor.ini");
    EXPECT_EQ(joinPath("\\\\praxis-server\\halmor", "WZBeleg.xml"),
              "\\\\praxis-server\\halmor\\WZBeleg.xml");
    EXPECT_EQ(joinPath("D:", "WZBeleg.xml"), "D:WZBeleg.xml");
}

TEST(ProbeOpenForReading, SlashesAreSeparatorsWildcardsBadNamesAndDevicesNoFiles) {
    TempFolder t;
    t.write("data.xml", "<a/>");
    EXPECT_EQ(probeOpenForReading(t.path() + "/data.xml"), 0);
    EXPECT_EQ(probeOpenForReading(t.file("dat?.xml")), 52);
    EXPECT_EQ(probeOpenForReading(t.file("*.xml")), 52);
    EXPECT_FALSE(isOrdinaryFile(t.file("*.xml")));
    EXPECT_EQ(readWholeFile(t.file("*.xml")), std::nullopt);
    EXPECT_FALSE(removeFile(t.file("*.xml")));
    EXPECT_EQ(t.read("data.xml"), "<a/>");
    // A device name is no file.
    EXPECT_EQ(probeOpenForReading(t.file("NUL")), 75);
    EXPECT_FALSE(isOrdinaryFile(t.file("NUL")));
    EXPECT_EQ(readWholeFile(t.file("NUL")), std::nullopt);
}

TEST(ProbeOpenForReading, NamesReachTheDiskInUnicodeWhateverTheAnsiCodePage) {
    TempFolder t;
    ASSERT_TRUE(appendToFile(t.file(w("Gebühr €.txt")), "x"));
    ASSERT_TRUE(replaceFileAtomically(t.file(w("Größe.ini")), "y"));
    EXPECT_EQ(entriesOf(t),
              (std::set<std::wstring>{L"Geb\u00FChr \u20AC.txt", L"Gr\u00F6\u00DFe.ini"}));
}

TEST(IsOrdinaryFile, HiddenAndSystemFilesCountAsAbsentButCanBeOpened) {
    TempFolder t;
    t.write("versteckt.xml", "v");
    t.write("system.xml", "s");
    ASSERT_TRUE(setAttributes(t.file("versteckt.xml"), FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(setAttributes(t.file("system.xml"), FILE_ATTRIBUTE_SYSTEM));
    EXPECT_FALSE(isOrdinaryFile(t.file("versteckt.xml")));
    EXPECT_FALSE(isOrdinaryFile(t.file("system.xml")));
    EXPECT_EQ(probeOpenForReading(t.file("versteckt.xml")), 0);
    EXPECT_EQ(readWholeFile(t.file("system.xml")), "s");
    // A dot in front hides nothing on Windows.
    t.write(".WZBeleg.xml", "x");
    ASSERT_TRUE(setAttributes(t.file(".WZBeleg.xml"), FILE_ATTRIBUTE_NORMAL));
    EXPECT_TRUE(isOrdinaryFile(t.file(".WZBeleg.xml")));
}

TEST(ProbeOpenForReading, AFileTheHostHoldsExclusivelyIsAlreadyOpen) {
    TempFolder t;
    t.write("WZBeleg.xml", "<x/>");
    HeldFile host(t.file("WZBeleg.xml"), GENERIC_READ | GENERIC_WRITE, 0);
    ASSERT_TRUE(host.held());
    EXPECT_EQ(probeOpenForReading(t.file("WZBeleg.xml")), 55);
    EXPECT_TRUE(isOrdinaryFile(t.file("WZBeleg.xml")));
    EXPECT_EQ(readWholeFile(t.file("WZBeleg.xml")), std::nullopt);
}

TEST(ReadWholeFile, AFileTheHostIsStillWritingCanBeRead) {
    // The host writes with others allowed to read; our reading must then
    // allow it to go on writing.
    TempFolder t;
    HeldFile host(t.file("Besamung.xml"), GENERIC_WRITE, FILE_SHARE_READ, CREATE_NEW);
    ASSERT_TRUE(host.held());
    ASSERT_TRUE(host.write("<Besamung>"));
    EXPECT_EQ(probeOpenForReading(t.file("Besamung.xml")), 0);
    EXPECT_EQ(readWholeFile(t.file("Besamung.xml")), "<Besamung>");
}

TEST(AppendToFile, WritesWhileAnotherRunHasTheLogOpen) {
    TempFolder t;
    HeldFile other(t.file("26_12_05.txt"), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                   CREATE_NEW);
    ASSERT_TRUE(other.held());
    ASSERT_TRUE(other.write("a\r\n"));
    EXPECT_TRUE(appendToFile(t.file("26_12_05.txt"), "b\r\n"));
    ASSERT_TRUE(other.write("c\r\n"));
    other.release();
    EXPECT_EQ(t.read("26_12_05.txt"), "a\r\nb\r\nc\r\n");
}

TEST(RemoveFile, AFileAScannerHoldsIsGoneUnderItsNameAtOnce) {
    // A virus scanner reads with every kind of sharing. Deleting marks the
    // file only; until the scanner lets go, a plain delete leaves the name
    // in place (and Windows refuses to open it).
    TempFolder t;
    t.write("WZBeleg.xml", "<x/>");
    HeldFile scanner(t.file("WZBeleg.xml"), GENERIC_READ, kShareAll);
    ASSERT_TRUE(scanner.held());
    EXPECT_TRUE(removeFile(t.file("WZBeleg.xml")));
    EXPECT_EQ(probeOpenForReading(t.file("WZBeleg.xml")), 53);
    EXPECT_FALSE(isOrdinaryFile(t.file("WZBeleg.xml")));
    scanner.release();
    EXPECT_TRUE(entriesOf(t).empty());
}

TEST(RemoveFile, AReadOnlyFileOrOneHeldWithoutDeleteSharingIsNeitherDeletedNorReplaced) {
    TempFolder t;
    t.write("Halmor.ini", "old");
    ASSERT_TRUE(setAttributes(t.file("Halmor.ini"), FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(removeFile(t.file("Halmor.ini")));
    EXPECT_FALSE(replaceFileAtomically(t.file("Halmor.ini"), "new"));
    EXPECT_EQ(t.read("Halmor.ini"), "old");
    setAttributes(t.file("Halmor.ini"), FILE_ATTRIBUTE_NORMAL);
    {
        HeldFile host(t.file("Halmor.ini"), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE);
        ASSERT_TRUE(host.held());
        EXPECT_FALSE(removeFile(t.file("Halmor.ini")));
        EXPECT_FALSE(replaceFileAtomically(t.file("Halmor.ini"), "new"));
    }
    EXPECT_EQ(t.read("Halmor.ini"), "old");
    EXPECT_EQ(entriesOf(t), std::set<std::wstring>{L"Halmor.ini"});
}

TEST(ReplaceFileAtomically, KeepsTheHostsAttributesAndGivesANewFilePlainOnes) {
    TempFolder t;
    t.write("Halmor.ini", "old");
    ASSERT_TRUE(setAttributes(t.file("Halmor.ini"), FILE_ATTRIBUTE_HIDDEN));
    EXPECT_TRUE(replaceFileAtomically(t.file("Halmor.ini"), "new"));
    EXPECT_EQ(t.read("Halmor.ini"), "new");
    EXPECT_TRUE(attributesOf(t.file("Halmor.ini")) & FILE_ATTRIBUTE_HIDDEN);
    EXPECT_TRUE(replaceFileAtomically(t.file("fresh.ini"), "x"));
    // Our temporary file is made hidden; the result must not stay so.
    EXPECT_FALSE(attributesOf(t.file("fresh.ini")) &
                 (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY));
}

TEST(ReplaceFileAtomically, WaitsBrieflyForAProgramThatLetsGoSoon) {
    TempFolder t;
    t.write("Halmor.ini", "old");
    HeldFile scanner(t.file("Halmor.ini"), GENERIC_READ, FILE_SHARE_READ);
    ASSERT_TRUE(scanner.held());
    std::thread letGo([&] {
        ::Sleep(100);
        scanner.release();
    });
    const bool replaced = replaceFileAtomically(t.file("Halmor.ini"), "new");
    letGo.join();
    EXPECT_TRUE(replaced);
    EXPECT_EQ(t.read("Halmor.ini"), "new");
    EXPECT_EQ(entriesOf(t), std::set<std::wstring>{L"Halmor.ini"});
}

}  // namespace
}  // namespace lumaro::fs
