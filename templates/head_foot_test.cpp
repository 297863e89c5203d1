#include <gtest/gtest.h>

#include "printing/drawing.h"
#include "support/errors.h"
#include "templates/template_test_support.h"
#include "templates/templates.h"

namespace lumaro {
namespace {

using testing::callsOf;
using testing::DrawCall;
using testing::entry;
using testing::logLines;
using testing::TestWorld;
using testing::w;

constexpr std::int16_t kGrenze = 105;

// A sheet's template with entries on both sides of the dividing line and one
// exactly on it.
std::string splitTemplate() {
    return entry({{"Typ", "Text"}, {"oben", "30"}, {"links", "10"}, {"Wortlaut", "Kopf"}}) +
           entry({{"Typ", "Grafik"},
                  {"oben", "90"},
                  {"links", "150"},
                  {"Breite", "40"},
                  {"Hoehe", "20"},
                  {"Wortlaut", "logo.png"}}) +
           entry({{"Typ", "Text"}, {"oben", "105"}, {"Wortlaut", "Grenze"}}) +
           entry({{"Typ", "Linie"}, {"oben", "180,5"}, {"links", "10"}, {"Breite", "190"}}) +
           entry({{"Typ", "Text"}, {"oben", "185"}, {"links", "10"}, {"Wortlaut", "Fuss"}});
}

class HeadAndFoot : public ::testing::Test {
  protected:
    HeadAndFoot() { world.folder.write("logo.png", "png"); }
    std::vector<std::string> drawnTexts() const {
        std::vector<std::string> out;
        for (const auto* c : callsOf(world.surface, DrawCall::Text))
            out.push_back(c->text);
        return out;
    }
    TestWorld world;
};

TEST_F(HeadAndFoot, TheHeadDrawsOnlyWhatLiesAboveTheLimit) {
    double kopfUnten = 25;
    DokuKopfHinzufuegen(world.context, splitTemplate(), kGrenze, kopfUnten);

    EXPECT_EQ(drawnTexts(), std::vector<std::string>{"Kopf"});
    EXPECT_NEAR(world.surface.findText("Kopf")->y, 30, 0.01);
    ASSERT_EQ(callsOf(world.surface, DrawCall::Picture).size(), 1u);
    EXPECT_TRUE(callsOf(world.surface, DrawCall::FilledBox).empty());
    // The text (4 units high at 10 points) reaches 34; the picture ends at
    // 110, past the limit, and does not count.
    EXPECT_NEAR(kopfUnten, 34, 0.01);
}

TEST_F(HeadAndFoot, TheFootIsMeasuredWithoutDrawingThenDrawn) {
    double fussOben = 0;
    DokuFussHinzufuegen(world.context, splitTemplate(), kGrenze, fussOben, kTrue);
    EXPECT_NEAR(fussOben, 180.5, 0.01);
    EXPECT_TRUE(world.surface.calls.empty());

    fussOben = 0;
    DokuFussHinzufuegen(world.context, splitTemplate(), kGrenze, fussOben, kFalse);
    EXPECT_NEAR(fussOben, 180.5, 0.01);
    EXPECT_EQ(drawnTexts(), std::vector<std::string>{"Fuss"});
    const auto bars = callsOf(world.surface, DrawCall::FilledBox);
    ASSERT_EQ(bars.size(), 1u);
    EXPECT_NEAR(bars[0]->y, 180.5, 0.01);
    EXPECT_NEAR(bars[0]->x2, 200, 0.01);
    EXPECT_TRUE(callsOf(world.surface, DrawCall::Picture).empty());
}

TEST_F(HeadAndFoot, AnyNonZeroFlagOnlyMeasures) {
    double fussOben = 0;
    DokuFussHinzufuegen(world.context, splitTemplate(), kGrenze, fussOben, 1);
    EXPECT_TRUE(world.surface.calls.empty());
    EXPECT_NEAR(fussOben, 180.5, 0.01);
}

TEST_F(HeadAndFoot, EdgesWhenOneSideHasNoEntries) {
    const std::string headOnly = entry({{"Typ", "Text"}, {"oben", "10"}, {"Wortlaut", "oben"}}) +
                                 entry({{"Typ", "Linie"}, {"oben", "105"}, {"Breite", "10"}});
    double fussOben = 7;
    DokuFussHinzufuegen(world.context, headOnly, kGrenze, fussOben, kTrue);
    EXPECT_EQ(fussOben, 200);

    const std::string footOnly = entry({{"Typ", "Text"}, {"oben", "150"}, {"Wortlaut", "unten"}});
    double kopfUnten = 25;
    DokuKopfHinzufuegen(world.context, footOnly, kGrenze, kopfUnten);
    EXPECT_EQ(kopfUnten, 25);
    kopfUnten = 0;
    DokuKopfHinzufuegen(world.context, footOnly, kGrenze, kopfUnten);
    EXPECT_EQ(kopfUnten, 20);
    EXPECT_TRUE(world.surface.calls.empty());

    // An entry of an unknown type moves neither edge.
    fussOben = 7;
    DokuFussHinzufuegen(world.context,
                        entry({{"Typ", "Notiz"}, {"oben", "150"}, {"Wortlaut", "x"}}), kGrenze,
                        fussOben, kTrue);
    EXPECT_EQ(fussOben, 200);
}

TEST_F(HeadAndFoot, BarsCountByTheirTopAndPicturesByTheirBottom) {
    world.folder.write("klein.png", "png");
    double kopfUnten = 0;
    DokuKopfHinzufuegen(world.context,
                        entry({{"Typ", "Linie"}, {"oben", "40"}, {"Breite", "5"}, {"Hoehe", "30"}}),
                        kGrenze, kopfUnten);
    EXPECT_NEAR(kopfUnten, 40, 0.01);

    DokuKopfHinzufuegen(
        world.context,
        entry({{"Typ", "Grafik"}, {"oben", "50"}, {"Hoehe", "20"}, {"Wortlaut", "klein.png"}}),
        kGrenze, kopfUnten);
    EXPECT_NEAR(kopfUnten, 70, 0.01);

    // A missing picture file still counts by its size.
    DokuKopfHinzufuegen(
        world.context,
        entry({{"Typ", "Grafik"}, {"oben", "60"}, {"Hoehe", "20"}, {"Wortlaut", "fehlt.png"}}),
        kGrenze, kopfUnten);
    EXPECT_NEAR(kopfUnten, 80, 0.01);

    // Lower entries than the edge already known change nothing.
    DokuKopfHinzufuegen(world.context,
                        entry({{"Typ", "Text"}, {"oben", "10"}, {"Wortlaut", "a"}}) +
                            entry({{"Typ", "Linie"}, {"oben", "50"}, {"Breite", "5"}}),
                        kGrenze, kopfUnten);
    EXPECT_NEAR(kopfUnten, 80, 0.01);
}

TEST_F(HeadAndFoot, MeasuringAMissingPictureStillTakesItsTop) {
    double fussOben = 0;
    DokuFussHinzufuegen(world.context,
                        entry({{"Typ", "Grafik"}, {"oben", "150"}, {"Wortlaut", "fehlt.png"}}) +
                            entry({{"Typ", "Text"}, {"oben", "160"}, {"Wortlaut", "x"}}),
                        kGrenze, fussOben, kTrue);
    EXPECT_NEAR(fussOben, 150, 0.01);
    EXPECT_TRUE(world.pictures.loaded.empty());
}

TEST_F(HeadAndFoot, EntriesOnTheOtherSideAreNotReadFurther) {
    // The foot entry's broken width would be a type mismatch if it were read.
    double kopfUnten = 0;
    DokuKopfHinzufuegen(world.context,
                        entry({{"Typ", "Linie"}, {"oben", "150"}, {"Breite", "breit"}}) +
                            entry({{"Typ", "Text"}, {"oben", "20"}, {"Wortlaut", "Kopf"}}),
                        kGrenze, kopfUnten);
    EXPECT_TRUE(world.messages.shown.empty());
    EXPECT_EQ(drawnTexts(), std::vector<std::string>{"Kopf"});
}

TEST_F(HeadAndFoot, TheFootKeepsItsLogShort) {
    const std::string vorlage =
        entry({{"Typ", "Text"}, {"oben", "10"}, {"Wortlaut", "Kopf"}}) +
        entry({{"Typ", "Text"}, {"oben", "150,5"}, {"Schriftart", "Arial"}, {"Wortlaut", "Fuss"}});
    double fussOben = 0;
    DokuFussHinzufuegen(world.context, vorlage, kGrenze, fussOben, kFalse);
    const std::vector<std::string> expected = {
        w("    DokuFussHinzufuegen - Länge: ") + std::to_string(vorlage.size()),
        "            Typ = Text",
        "            Printer.DeviceName = Fake Printer",
        "            Printer.CurrentY = 150,5",
        "            Printer.FontName = Arial",
    };
    EXPECT_EQ(logLines(world), expected);
}

TEST_F(HeadAndFoot, TheHeadLogsLikeTheTemplate) {
    const std::string vorlage = entry({{"Typ", "Text"}, {"oben", "10"}, {"Wortlaut", "Kopf"}}) +
                                entry({{"Typ", "Text"}, {"oben", "150"}, {"Wortlaut", "Fuss"}});
    double kopfUnten = 0;
    DokuKopfHinzufuegen(world.context, vorlage, kGrenze, kopfUnten);
    const auto lines = logLines(world);
    ASSERT_EQ(lines.size(), 10u);
    EXPECT_EQ(lines[0], w("    DokuKopfHinzufuegen - Länge: ") + std::to_string(vorlage.size()));
    EXPECT_EQ(lines[6], "            Printer.Print Kopf");
    // The foot entry is cut out (and logged) but not handled.
    EXPECT_EQ(lines[8].rfind("        TagInhalt wurde ausgeschnitten: <Typ>Text</Typ><oben>150", 0),
              0u);
    EXPECT_EQ(lines[9], "        TagInhalt wurde nicht ausgeschnitten - Schleife wird verlassen.");
}

TEST_F(HeadAndFoot, FaultsNameTheRoutineAndStopTheEdges) {
    world.folder.write("kaputt.bad", "x");
    const std::string broken =
        entry({{"Typ", "Grafik"}, {"oben", "20"}, {"Wortlaut", "kaputt.bad"}}) +
        entry({{"Typ", "Grafik"}, {"oben", "150"}, {"Wortlaut", "kaputt.bad"}});

    double kopfUnten = 0;
    DokuKopfHinzufuegen(world.context, broken, kGrenze, kopfUnten);
    EXPECT_EQ(kopfUnten, 0);  // not the 20 of a normal end
    ASSERT_EQ(world.messages.shown.size(), 1u);
    EXPECT_EQ(world.messages.shown[0].text,
              w("Fehler 481 (Ungültiges Bild) in Prozedur DokuKopfHinzufuegen im Modul "
                "FunktionenDrucker"));

    // Measuring does not load the picture, drawing does.
    double fussOben = 0;
    DokuFussHinzufuegen(world.context, broken, kGrenze, fussOben, kTrue);
    EXPECT_EQ(world.messages.shown.size(), 1u);
    EXPECT_EQ(fussOben, 150);
    DokuFussHinzufuegen(world.context, broken, kGrenze, fussOben, kFalse);
    ASSERT_EQ(world.messages.shown.size(), 2u);
    EXPECT_EQ(world.messages.shown[1].text,
              w("Fehler 481 (Ungültiges Bild) in Prozedur DokuFussHinzufuegen im Modul "
                "FunktionenDrucker"));
    EXPECT_EQ(logLines(world).back(), "    " + world.messages.shown[1].text);
}

TEST_F(HeadAndFoot, AfterAMeasuredFootTextFaultsGoToTheCaller) {
    double fussOben = 0;
    EXPECT_THROW(
        DokuFussHinzufuegen(world.context,
                            entry({{"Typ", "Text"}, {"oben", "150"}, {"Wortlaut", "Fuss"}}) +
                                entry({{"Typ", "Linie"}, {"oben", "160"}, {"Farbe", "rot"}}),
                            kGrenze, fussOben, kTrue),
        RuntimeError);
    EXPECT_TRUE(world.messages.shown.empty());
    EXPECT_EQ(fussOben, 150);
}

}  // namespace
}  // namespace lumaro
