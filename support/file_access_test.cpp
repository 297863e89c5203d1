#include "support/file_access.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/errors.h"
#include "support/file_system.h"
#include "tests/fakes/fakes.h"

namespace lumaro {
namespace {

using testing::w;

class FileTest : public ::testing::Test {
  protected:
    testing::TestWorld world;
    const Services& s = world.services;
};

TEST_F(FileTest, AReadableFileIsThereMissingFilesFoldersAndBadNamesAreSimplyAbsent) {
    world.folder.write("WZBeleg.xml", "<x/>");
    EXPECT_TRUE(DateiVorhanden(s, world.folder.file("WZBeleg.xml")));
    EXPECT_TRUE(fs::removeFile(world.folder.file("WZBeleg.xml")));  // nothing left open
    EXPECT_FALSE(DateiVorhanden(s, world.folder.file("WZBeleg.xml")));
    std::filesystem::create_directory(world.folder.file("Besamung.xml"));
    EXPECT_FALSE(DateiVorhanden(s, fs::joinPath(world.folder.file("fehlt"), "Halmor.mdb")));
    EXPECT_FALSE(DateiVorhanden(s, world.folder.file("Besamung.xml")));
    EXPECT_FALSE(DateiVorhanden(s, "C:\\vb\\Aufbau\\Halmor.mdb"));
    EXPECT_FALSE(DateiVorhanden(s, ""));
    EXPECT_TRUE(world.messages.shown.empty());
}

TEST_F(FileTest, DateiEinlesenGivesTheRawBytesOfOrdinaryFilesOnly) {
    const std::string bytes = std::string("\xEF\xBB\xBF<a>f\xFCr\r\n\0\r</a>", 16);
    world.folder.write("WZBeleg.xml", bytes);
    EXPECT_EQ(DateiEinlesen(world.folder.file("WZBeleg.xml")), bytes);
    EXPECT_EQ(DateiEinlesen("  " + world.folder.file("WZBeleg.xml") + "  "), bytes);
    world.folder.write("leer.xml", "");
    EXPECT_EQ(DateiEinlesen(world.folder.file("leer.xml")), "");
    EXPECT_EQ(DateiEinlesen(world.folder.file("fehlt.xml")), "");
    EXPECT_EQ(DateiEinlesen(world.folder.path()), "");
}

}  // namespace
}  // namespace lumaro
