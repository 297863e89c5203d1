// The file operations' Windows cases: names, hidden and system files, devices, and what
// other programs holding a file open leave possible.
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

using lumaro::testing::HeldFile;
using lumaro::testing::TempFolder;
using lumaro::testing::w;
using lumaro::testing::widePath;

std::set<std::wstring> entriesOf(const TempFolder& t) {
    std::set<std::wstring> names;
    for (const auto& e : std::filesystem::directory_iterator(widePath(t.path())))
        names.insert(e.path().filename().wstring());
    return names;
}

DWORD attributesOf(const std::string& path) {
    return ::GetFileAttributesW(widePath(path).c_str());
}

bool setAttributes(const std::string& path, DWORD attributes) {
    return ::SetFileAttributesW(widePath(path).c_str(), attributes) != 0;
}

TEST(ProbeOpenForReading, SlashesSeparateNamesReachTheDiskInUnicodeWildcardsAndDevicesAreNoFiles) {
    TempFolder t;
    t.write("data.xml", "<a/>");
    EXPECT_EQ(probeOpenForReading(t.path() + "/data.xml"), 0);
    // Whatever the machine's ANSI code page: the names are the core's Windows-1252.
    ASSERT_TRUE(appendToFile(t.file(w("Gebühr €.txt")), "x"));
    ASSERT_TRUE(replaceFileAtomically(t.file(w("Größe.ini")), "y"));
    EXPECT_EQ(entriesOf(t), (std::set<std::wstring>{L"data.xml", L"Geb\u00FChr \u20AC.txt",
                                                    L"Gr\u00F6\u00DFe.ini"}));
    for (const char* name : {"dat?.xml", "*.xml", "NUL"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(probeOpenForReading(t.file(name)), std::string(name) == "NUL" ? 75 : 52);
        EXPECT_FALSE(isOrdinaryFile(t.file(name)));
        EXPECT_EQ(readWholeFile(t.file(name)), std::nullopt);
        EXPECT_FALSE(removeFile(t.file(name)));
    }
    EXPECT_EQ(t.read("data.xml"), "<a/>");
}

TEST(IsOrdinaryFile, HiddenAndSystemFilesCountAsAbsentButCanBeOpenedADotHidesNothing) {
    TempFolder t;
    t.write("versteckt.xml", "v");
    t.write("system.xml", "s");
    t.write(".WZBeleg.xml", "x");
    ASSERT_TRUE(setAttributes(t.file("versteckt.xml"), FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(setAttributes(t.file("system.xml"), FILE_ATTRIBUTE_SYSTEM));
    ASSERT_TRUE(setAttributes(t.file(".WZBeleg.xml"), FILE_ATTRIBUTE_NORMAL));
    EXPECT_FALSE(isOrdinaryFile(t.file("versteckt.xml")));
    EXPECT_FALSE(isOrdinaryFile(t.file("system.xml")));
    EXPECT_EQ(probeOpenForReading(t.file("versteckt.xml")), 0);
    EXPECT_EQ(readWholeFile(t.file("system.xml")), "s");
    EXPECT_TRUE(isOrdinaryFile(t.file(".WZBeleg.xml")));
}

TEST(FileOperations, WhatAnotherProgramHoldingTheFileLeavesPossible) {
    struct Case {
        const char* holder;
        DWORD access, share;
        int probe;
        bool readable, appendable, removable;
    } cases[] = {
        {"the host, exclusively", GENERIC_READ | GENERIC_WRITE, 0, 55, false, false, false},
        {"the host, still writing", GENERIC_WRITE, FILE_SHARE_READ, 0, true, false, false},
        {"another run, writing the day log", FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
         0, true, true, false},
        // Windows only marks a file a scanner holds for deletion; its name must go at once.
        {"a virus scanner", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, 0,
         true, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.holder);
        TempFolder t;
        t.write("WZBeleg.xml", "<x/>");
        const std::string file = t.file("WZBeleg.xml");
        HeldFile holder(file, c.access, c.share);
        ASSERT_TRUE(holder.held());
        EXPECT_EQ(probeOpenForReading(file), c.probe);
        EXPECT_TRUE(isOrdinaryFile(file));  // still there for the file test
        EXPECT_EQ(readWholeFile(file),
                  c.readable ? std::optional<std::string>("<x/>") : std::nullopt);
        EXPECT_EQ(appendToFile(file, "+"), c.appendable);
        const std::string content = c.appendable ? "<x/>+" : "<x/>";
        EXPECT_EQ(removeFile(file), c.removable);
        if (c.removable) {
            EXPECT_EQ(probeOpenForReading(file), 53);
            holder.release();
            EXPECT_TRUE(entriesOf(t).empty());
        } else {
            EXPECT_FALSE(replaceFileAtomically(file, "new"));
            holder.release();
            EXPECT_EQ(t.read("WZBeleg.xml"), content);
            EXPECT_EQ(entriesOf(t), std::set<std::wstring>{L"WZBeleg.xml"});
        }
    }
}

TEST(ReplaceFileAtomically, KeepsAttributesRefusesAReadOnlyFileAndWaitsForAProgramThatLetsGoSoon) {
    TempFolder t;
    t.write("Halmor.ini", "old");
    ASSERT_TRUE(setAttributes(t.file("Halmor.ini"), FILE_ATTRIBUTE_HIDDEN));
    EXPECT_TRUE(replaceFileAtomically(t.file("Halmor.ini"), "new"));
    EXPECT_EQ(t.read("Halmor.ini"), "new");
    EXPECT_TRUE(attributesOf(t.file("Halmor.ini")) & FILE_ATTRIBUTE_HIDDEN);
    // Our temporary file is made hidden; a new file must not stay so.
    EXPECT_TRUE(replaceFileAtomically(t.file("fresh.ini"), "x"));
    EXPECT_FALSE(attributesOf(t.file("fresh.ini")) &
                 (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(setAttributes(t.file("fresh.ini"), FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(removeFile(t.file("fresh.ini")));
    EXPECT_FALSE(replaceFileAtomically(t.file("fresh.ini"), "y"));
    EXPECT_EQ(t.read("fresh.ini"), "x");
    setAttributes(t.file("fresh.ini"), FILE_ATTRIBUTE_NORMAL);  // so the folder can go
    EXPECT_EQ(entriesOf(t), (std::set<std::wstring>{L"Halmor.ini", L"fresh.ini"}));

    // A program that holds it briefly (a virus scanner) is waited for.
    HeldFile scanner(t.file("Halmor.ini"), GENERIC_READ, FILE_SHARE_READ);
    ASSERT_TRUE(scanner.held());
    std::thread letGo([&] {
        ::Sleep(100);
        scanner.release();
    });
    EXPECT_TRUE(replaceFileAtomically(t.file("Halmor.ini"), "newer"));
    letGo.join();
    EXPECT_EQ(t.read("Halmor.ini"), "newer");
}

}  // namespace
}  // namespace lumaro::fs
