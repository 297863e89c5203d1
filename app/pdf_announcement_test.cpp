#include "app/pdf_announcement.h"

#include <gtest/gtest.h>

#include "tests/fakes/fakes.h"

namespace lumaro::testing {
namespace {

TEST(PdfAnnouncement, IsALogLineAndAnInformationMessage) {
    TestWorld world;
    const std::string path = world.folder.file("Ausdrucke/2026-12-05_14-03-27_job001.pdf");
    announcePdfFile(world.services, path);
    ASSERT_EQ(world.messages.shown.size(), 1u);
    EXPECT_EQ(
        world.messages.shown[0].text,
        "Das Dokument wurde nicht auf Papier gedruckt, sondern als PDF-Datei gespeichert:\r\n" +
            path);
    EXPECT_EQ(world.messages.shown[0].title, "Lumaro PDF");
    EXPECT_EQ(world.messages.shown[0].icon, MessageIcon::Information);
    EXPECT_EQ(world.log().substr(8), "      Dokument als PDF-Datei gespeichert: " + path + "\r\n");
}

}  // namespace
}  // namespace lumaro::testing
