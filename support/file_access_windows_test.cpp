// The file test on Windows: data files the host still holds, devices, and a
// file the user has no right to read. Hidden and system files are in
// file_system_windows_test.cpp.
#include <aclapi.h>
#include <gtest/gtest.h>
#include <sddl.h>
#include <windows.h>

#include "support/errors.h"
#include "support/file_access.h"
#include "support/testing_handles_windows.h"
#include "tests/fakes/fakes.h"

namespace lumaro {
namespace {

using testing::HeldFile;
using testing::w;

class WindowsFileTest : public ::testing::Test {
  protected:
    testing::TestWorld world;
    const Services& s = world.services;
};

TEST_F(WindowsFileTest, ADataFileTheHostStillHoldsIsThereADeviceIsNot) {
    world.folder.write("WZBeleg.xml", "<x/>");
    HeldFile host(world.folder.file("WZBeleg.xml"), GENERIC_WRITE, 0);
    ASSERT_TRUE(host.held());
    EXPECT_TRUE(DateiVorhanden(s, world.folder.file("WZBeleg.xml")));
    EXPECT_FALSE(DateiVorhanden(s, world.folder.file("NUL")));
    EXPECT_TRUE(world.messages.shown.empty());
}

TEST_F(WindowsFileTest, AFileTheUserMayNotReadEndsTheProgramAfterNamingIt) {
    world.folder.write("Halmor.ini", "[Drucker]\r\n");
    const std::string path = world.folder.file("Halmor.ini");
    // Everyone is refused every access to the file.
    PSECURITY_DESCRIPTOR denyAll = nullptr;
    ASSERT_TRUE(::ConvertStringSecurityDescriptorToSecurityDescriptorW(
        L"D:P(D;;FA;;;WD)", SDDL_REVISION_1, &denyAll, nullptr));
    const bool denied =
        ::SetFileSecurityW(testing::widePath(path).c_str(), DACL_SECURITY_INFORMATION, denyAll);
    ::LocalFree(denyAll);
    ASSERT_TRUE(denied);
    if (HeldFile(path, GENERIC_READ, FILE_SHARE_READ).held())
        GTEST_SKIP() << "this system does not enforce file access rights (Wine does not), so a "
                        "file the user may not read cannot be made";
    try {
        DateiVorhanden(s, path);
        FAIL() << "the program was not ended";
    } catch (const ProgramEnd& end) {
        EXPECT_EQ(end.exitStatus, 2);
    }
    ASSERT_EQ(world.messages.shown.size(), 1u);
    EXPECT_EQ(world.messages.shown[0].title, "Lumaro");
    EXPECT_EQ(world.messages.shown[0].icon, MessageIcon::None);
    EXPECT_EQ(world.messages.shown[0].text,
              w("Auf die Datei " + path +
                " kann nicht zugegriffen werden! Sie sollten das Programm beenden, und nach "
                "der Ursache suchen, falls auf diese Datei zugegriffen werden soll, da sonst "
                "während der Ausführung Fehler auftreten können!"));
    // Give the file back to its owner, so that the folder can be cleaned up.
    PSECURITY_DESCRIPTOR allowAll = nullptr;
    if (::ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:(A;;FA;;;WD)", SDDL_REVISION_1,
                                                               &allowAll, nullptr)) {
        ::SetFileSecurityW(testing::widePath(path).c_str(), DACL_SECURITY_INFORMATION, allowAll);
        ::LocalFree(allowAll);
    }
}

}  // namespace
}  // namespace lumaro
