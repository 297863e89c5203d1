#include "templates/picture_window.h"

#include <gtest/gtest.h>

#include "support/errors.h"
#include "support/ini.h"
#include "tests/fakes/fakes.h"

namespace lumaro {
namespace {

using testing::TestWorld;
using testing::w;

const char* const kSection = "wdwGrafikSpeicher";

class PictureHolder : public ::testing::Test {
  protected:
    std::string ini() const { return world.folder.read("Halmor.ini").value_or(""); }
    std::string value(const std::string& key) const {
        return INILesen(world.services, kSection, key, "-");
    }
    void useOnce() {
        PictureWindow holder(world.context);
        holder.load(world.folder.file("bild.png"));
    }
    TestWorld world;
};

TEST_F(PictureHolder, TheFirstLoadStartsTheCounterAndTheUnloadWritesTheGeometry) {
    world.folder.write("Halmor.ini", "[Drucker]\r\nLabeldrucker=Zebra\r\n");
    {
        PictureWindow holder(world.context);
        EXPECT_EQ(value(w("AufrufZähler")), "1");
        EXPECT_EQ(value(w("AufrufZählerStart")), "05.12.2026 14:03");
        EXPECT_EQ(value("Breit"), "-");  // not before the unload

        EXPECT_NE(holder.load(world.folder.file("bild.png")).handle, 0);
    }
    EXPECT_EQ(value("Breit"), "2955");
    EXPECT_EQ(value("Hoch"), "2220");
    // Centred on 1920 x 1080 pixels of 15 twips, on whole pixels.
    EXPECT_EQ(value("Links"), "12915");
    EXPECT_EQ(value("Oben"), "6990");
}

TEST_F(PictureHolder, LaterLoadsCountOnAndKeepTheStart) {
    world.folder.write("Halmor.ini", "");
    useOnce();
    world.clock.time = DateTime{2027, 1, 2, 8, 15, 0};
    useOnce();
    useOnce();
    EXPECT_EQ(value(w("AufrufZähler")), "3");
    EXPECT_EQ(value(w("AufrufZählerStart")), "05.12.2026 14:03");

    // A file that is no picture still counts, and the holder still unloads.
    world.folder.write("Halmor.ini", "");
    EXPECT_THROW(PictureWindow(world.context).load(world.folder.file("kaputt.bad")), RuntimeError);
    EXPECT_EQ(value(w("AufrufZähler")), "1");
    EXPECT_EQ(value("Breit"), "2955");
}

TEST_F(PictureHolder, TheStoredCounterIsReadLikeANumberAndRounded) {
    struct Case {
        const char* stored;
        const char* next;
        bool restarts;
    };
    const Case cases[] = {
        {"", "1", true},         // empty: no value, counts as 0
        {"  ", "1", true},       // blanks only likewise
        {"0", "1", true},        // a counter at 0 restarts the date
        {"12abc", "13", false},  // the leading number counts
        {"2.5", "3", false},     // 2.5 rounds to the even 2
        {"3.5", "5", false},     // 3.5 rounds to the even 4
        {"7,9", "8", false},     // the comma is no decimal separator here
        {"abc", "1", true},      // no leading number reads as 0
    };
    for (const Case& c : cases) {
        world.folder.write("Halmor.ini", w("[wdwGrafikSpeicher]\r\nAufrufZähler=") + c.stored +
                                             w("\r\nAufrufZählerStart=alt\r\n"));
        { PictureWindow holder(world.context); }
        EXPECT_EQ(value(w("AufrufZähler")), c.next) << c.stored;
        EXPECT_EQ(value(w("AufrufZählerStart")), c.restarts ? "05.12.2026 14:03" : "alt")
            << c.stored;
    }
}

}  // namespace
}  // namespace lumaro
