#include <gtest/gtest.h>

#include "printing/drawing.h"
#include "support/errors.h"
#include "templates/template_test_support.h"
#include "templates/templates.h"

namespace lumaro {
namespace {

using testing::DrawCall;
using testing::entry;
using testing::logLines;
using testing::w;

constexpr std::int16_t kGrenze = 105;

class HeadAndFoot : public ::testing::Test {
  protected:
    HeadAndFoot() { world.folder.write("logo.png", "png"); }
    double kopf(const std::string& vorlage, double kopfUnten = 0) {
        DokuKopfHinzufuegen(world.context, vorlage, kGrenze, kopfUnten);
        return kopfUnten;
    }
    double fuss(const std::string& vorlage, std::int16_t nurMessen, double fussOben = 0) {
        DokuFussHinzufuegen(world.context, vorlage, kGrenze, fussOben, nurMessen);
        return fussOben;
    }
    std::vector<std::string> drawnTexts() const {
        std::vector<std::string> out;
        for (const auto& c : testing::callsOf(world.surface, DrawCall::Text))
            out.push_back(c.text);
        return out;
    }
    testing::TestWorld world;
};

// Entries on both sides of the dividing line and one exactly on it.
const std::string kSheet = entry("Typ=Text;oben=30;links=10;Wortlaut=Kopf") +
                           entry("Typ=Grafik;oben=90;Breite=40;Hoehe=20;Wortlaut=logo.png") +
                           entry("Typ=Text;oben=105;Wortlaut=Grenze") +
                           entry("Typ=Linie;oben=180,5;links=10;Breite=190") +
                           entry("Typ=Text;oben=185;links=10;Wortlaut=Fuss");

TEST_F(HeadAndFoot, TheHeadDrawsWhatLiesAboveTheLimit) {
    // The text (4 units high at 10 points) reaches 34; the picture ends at
    // 110, past the limit, and does not count.
    EXPECT_NEAR(kopf(kSheet, 25), 34, 0.01);
    EXPECT_EQ(drawnTexts(), std::vector<std::string>{"Kopf"});
    EXPECT_EQ(testing::callsOf(world.surface, DrawCall::Picture).size(), 1u);
    EXPECT_TRUE(testing::callsOf(world.surface, DrawCall::FilledBox).empty());
}

TEST_F(HeadAndFoot, TheFootIsMeasuredWithoutDrawingThenDrawn) {
    EXPECT_NEAR(fuss(kSheet, kTrue), 180.5, 0.01);
    EXPECT_NEAR(fuss(kSheet, 1), 180.5, 0.01);  // any flag but 0 only measures
    EXPECT_TRUE(world.surface.calls.empty());

    EXPECT_NEAR(fuss(kSheet, kFalse), 180.5, 0.01);
    EXPECT_EQ(drawnTexts(), std::vector<std::string>{"Fuss"});
    const auto bars = testing::callsOf(world.surface, DrawCall::FilledBox);
    ASSERT_EQ(bars.size(), 1u);
    EXPECT_NEAR(bars[0].y, 180.5, 0.01);
    EXPECT_NEAR(bars[0].x2, 200, 0.01);
    EXPECT_TRUE(testing::callsOf(world.surface, DrawCall::Picture).empty());
}

TEST_F(HeadAndFoot, EdgesWhenOneSideHasNothingAndWhatCounts) {
    const std::string headOnly = entry("Typ=Text;oben=10;Wortlaut=a") +
                                 entry("Typ=Linie;oben=105;Breite=10") +
                                 entry("Typ=Notiz;oben=150;Wortlaut=unbekannt");
    EXPECT_EQ(fuss(headOnly, kTrue, 7), 200);
    EXPECT_EQ(fuss("", kTrue, 7), 7);
    const std::string footOnly = entry("Typ=Text;oben=150;Wortlaut=unten");
    EXPECT_EQ(kopf(footOnly, 25), 25);
    EXPECT_EQ(kopf(footOnly, 0), 20);
    EXPECT_TRUE(world.surface.calls.empty());
    // Bars count by their top, pictures by their bottom, a missing one by its size.
    EXPECT_NEAR(kopf(entry("Typ=Linie;oben=40;Breite=5;Hoehe=30")), 40, 0.01);
    EXPECT_NEAR(kopf(entry("Typ=Grafik;oben=60;Hoehe=20;Wortlaut=fehlt.png")), 80, 0.01);
    // Entries above the edge already known change nothing.
    EXPECT_NEAR(kopf(entry("Typ=Text;oben=10") + entry("Typ=Linie;oben=50"), 80), 80, 0.01);
}

TEST_F(HeadAndFoot, EntriesOnTheOtherSideAreNotReadFurther) {
    // Read whole, the broken foot entry would be a type mismatch.
    kopf(entry("Typ=Linie;oben=150;Breite=breit") + entry("Typ=Text;oben=20;Wortlaut=Kopf"));
    EXPECT_TRUE(world.messages.shown.empty());
    EXPECT_EQ(drawnTexts(), std::vector<std::string>{"Kopf"});

    // Measuring tests a missing picture and still takes its top.
    EXPECT_EQ(fuss(entry("Typ=Grafik;oben=150;Wortlaut=fehlt.png") +
                       entry("Typ=Grafik;oben=160;Wortlaut=logo.png"),
                   kTrue),
              150);
    EXPECT_TRUE(world.pictures.loaded.empty());
}

TEST_F(HeadAndFoot, TheFootKeepsItsLogShortTheHeadDoesNot) {
    const std::string vorlage = entry("Typ=Text;oben=10;Wortlaut=Kopf") +
                                entry("Typ=Text;oben=150,5;Schriftart=Arial;Wortlaut=Fuss");
    fuss(vorlage, kFalse);
    const std::vector<std::string> expected = {
        w("    DokuFussHinzufuegen - Länge: ") + std::to_string(vorlage.size()),
        "            Typ = Text",
        "            Printer.DeviceName = Fake Printer",
        "            Printer.CurrentY = 150,5",
        "            Printer.FontName = Arial",
    };
    EXPECT_EQ(logLines(world), expected);

    kopf(vorlage);
    const auto lines = logLines(world);
    ASSERT_EQ(lines.size(), expected.size() + 10);
    EXPECT_EQ(lines[5], w("    DokuKopfHinzufuegen - Länge: ") + std::to_string(vorlage.size()));
    EXPECT_EQ(lines[11], "            Printer.Print Kopf");
    // The foot entry is cut out and logged, but not handled.
    EXPECT_EQ(
        lines[13].rfind("        TagInhalt wurde ausgeschnitten: <Typ>Text</Typ><oben>150", 0), 0u);
    EXPECT_EQ(lines[14], "        TagInhalt wurde nicht ausgeschnitten - Schleife wird verlassen.");
}

TEST_F(HeadAndFoot, FaultsNameTheRoutine) {
    world.folder.write("kaputt.bad", "x");
    const std::string broken = entry("Typ=Grafik;oben=20;Wortlaut=kaputt.bad") +
                               entry("Typ=Grafik;oben=150;Wortlaut=kaputt.bad");
    EXPECT_EQ(kopf(broken), 0);  // not the 20 of a normal end
    ASSERT_EQ(world.messages.shown.size(), 1u);
    EXPECT_EQ(world.messages.shown[0].text,
              w("Fehler 481 (Ungültiges Bild) in Prozedur DokuKopfHinzufuegen im Modul "
                "FunktionenDrucker"));

    // Measuring does not load the picture, drawing does.
    EXPECT_EQ(fuss(broken, kTrue), 150);
    EXPECT_EQ(world.messages.shown.size(), 1u);
    fuss(broken, kFalse);
    ASSERT_EQ(world.messages.shown.size(), 2u);
    EXPECT_EQ(world.messages.shown[1].text,
              w("Fehler 481 (Ungültiges Bild) in Prozedur DokuFussHinzufuegen im Modul "
                "FunktionenDrucker"));

    // A measured text ends the handler's cover as a printed one does.
    double fussOben = 0;
    EXPECT_THROW(DokuFussHinzufuegen(world.context,
                                     entry("Typ=Text;oben=150;Wortlaut=Fuss") +
                                         entry("Typ=Linie;oben=160;Farbe=rot"),
                                     kGrenze, fussOben, kTrue),
                 RuntimeError);
    EXPECT_EQ(fussOben, 150);
    EXPECT_EQ(world.messages.shown.size(), 2u);
}

}  // namespace
}  // namespace lumaro
