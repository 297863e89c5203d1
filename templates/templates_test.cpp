#include "templates/templates.h"

#include <gtest/gtest.h>

#include "support/errors.h"
#include "templates/template_test_support.h"

namespace lumaro {
namespace {

using testing::callsOf;
using testing::DrawCall;
using testing::entry;
using testing::logLines;
using testing::TestWorld;
using testing::w;

class Template : public ::testing::Test {
  protected:
    void draw(const std::string& vorlage, std::int16_t versatz = 0) {
        XMLVorlageHinzufuegen(world.context, vorlage, versatz);
    }
    std::vector<const DrawCall*> texts() const { return callsOf(world.surface, DrawCall::Text); }
    std::vector<const DrawCall*> bars() const {
        return callsOf(world.surface, DrawCall::FilledBox);
    }
    std::vector<const DrawCall*> pictures() const {
        return callsOf(world.surface, DrawCall::Picture);
    }
    TestWorld world;
};

TEST_F(Template, PlacesTextsBarsAndPicturesAtTheirPositionsPlusTheOffset) {
    world.folder.write("logo.png", "png");
    draw("kopf " +
             entry({{"Typ", "Text"},
                    {"oben", "20,5"},
                    {"links", "15"},
                    {"Groesse", "0"},
                    {"Schriftart", "Arial"},
                    {"Wortlaut", "Praxis Dr. Müller"}}) +
             " dazwischen " +
             entry({{"Typ", "Linie"},
                    {"oben", "50"},
                    {"links", "10"},
                    {"Breite", "100,25"},
                    {"Hoehe", "2"},
                    {"Farbe", "255"}}) +
             entry({{"Typ", "Grafik"},
                    {"oben", "60"},
                    {"links", "20,5"},
                    {"Breite", "40"},
                    {"Hoehe", "30"},
                    {"Wortlaut", "logo.png"}}),
         5);

    ASSERT_EQ(texts().size(), 1u);
    const DrawCall& text = *texts()[0];
    EXPECT_EQ(text.text, w("Praxis Dr. Müller"));
    EXPECT_NEAR(text.x, 15, 0.01);
    EXPECT_NEAR(text.y, 25.5, 0.01);
    EXPECT_EQ(text.size, 10);  // Groesse 0 counts as missing
    EXPECT_EQ(text.font, "Arial");

    ASSERT_EQ(bars().size(), 1u);
    const DrawCall& bar = *bars()[0];
    EXPECT_NEAR(bar.x, 10, 0.01);
    EXPECT_NEAR(bar.x2, 110.25, 0.01);
    EXPECT_NEAR(bar.y, 55, 0.01);
    EXPECT_NEAR(bar.y2, 57, 0.01);
    EXPECT_EQ(bar.color, 255);

    // Picture positions and sizes are whole numbers, halves to the even one.
    ASSERT_EQ(pictures().size(), 1u);
    const DrawCall& picture = *pictures()[0];
    EXPECT_EQ(picture.text, world.folder.file("logo.png"));
    EXPECT_NEAR(picture.x, 20, 0.01);
    EXPECT_NEAR(picture.y, 65, 0.01);
    EXPECT_NEAR(picture.x2, 60, 0.01);
    EXPECT_NEAR(picture.y2, 95, 0.01);
    EXPECT_TRUE(world.messages.shown.empty());
}

TEST_F(Template, AlignsTextsAndBarsOnTheRoundedPageWidth) {
    world.surface.setScaleWidth(209.6);  // counts as 210
    draw(entry({{"Typ", "Text"},
                {"oben", "10"},
                {"links", "10"},
                {"Ausrichtung", "1"},
                {"Wortlaut", "ABCDE"}}) +
         entry({{"Typ", "Linie"},
                {"oben", "20"},
                {"links", "10"},
                {"Breite", "30"},
                {"Ausrichtung", "1"}}) +
         entry({{"Typ", "Text"},
                {"oben", "30"},
                {"links", "99"},
                {"Ausrichtung", "2"},
                {"Wortlaut", "ABCDE"}}) +
         entry({{"Typ", "Linie"},
                {"oben", "40"},
                {"links", "99"},
                {"Breite", "50"},
                {"Ausrichtung", "2"}}) +
         // 2,5 rounds to the even 2: centred.
         entry({{"Typ", "Linie"}, {"oben", "50"}, {"Breite", "10"}, {"Ausrichtung", "2,5"}}));

    ASSERT_EQ(texts().size(), 2u);
    // 5 characters at 10 points are 5 units wide: the text ends 10 before the edge.
    EXPECT_NEAR(texts()[0]->x, 195, 0.01);
    EXPECT_NEAR(texts()[0]->x2, 200, 0.01);
    EXPECT_NEAR(texts()[1]->x, 102.5, 0.01);

    ASSERT_EQ(bars().size(), 3u);
    EXPECT_NEAR(bars()[0]->x, -20, 0.01);  // the bar ends at links
    EXPECT_NEAR(bars()[0]->x2, 10, 0.01);
    EXPECT_NEAR(bars()[1]->x, 80, 0.01);
    EXPECT_NEAR(bars()[1]->x2, 130, 0.01);
    EXPECT_NEAR(bars()[2]->x, 100, 0.01);
    EXPECT_NEAR(bars()[2]->x2, 110, 0.01);
}

TEST_F(Template, AnUnknownAlignmentFollowsOnFromTheLastTextAndDrawsNoBar) {
    draw(entry({{"Typ", "Text"}, {"oben", "10"}, {"links", "30"}, {"Wortlaut", "abc"}}) +
         entry({{"Typ", "Text"},
                {"oben", "12"},
                {"links", "5"},
                {"Ausrichtung", "3"},
                {"Wortlaut", "def"}}) +
         entry({{"Typ", "Linie"}, {"oben", "20"}, {"Breite", "30"}, {"Ausrichtung", "-1"}}) +
         entry({{"Typ", "Linie"}, {"oben", "30"}, {"Breite", "30"}, {"Hoehe", "  "}}));

    ASSERT_EQ(texts().size(), 2u);
    EXPECT_NEAR(texts()[1]->x, 33, 0.01);  // right after "abc"
    EXPECT_NEAR(texts()[1]->y, 12, 0.01);
    // Only the last bar: a hairline, since a blank height counts as 0.
    ASSERT_EQ(bars().size(), 1u);
    EXPECT_NEAR(bars()[0]->y, 30, 0.01);
    EXPECT_NEAR(bars()[0]->y2, 30, 0.01);
    EXPECT_NEAR(bars()[0]->x2, 30, 0.01);
}

TEST_F(Template, NothingCarriesOverFromOneEntryToTheNext) {
    world.surface.setFontUnderline(true);
    draw(entry({{"Typ", "Text"},
                {"oben", "10"},
                {"Schriftart", "Courier New"},
                {"Groesse", "8,5"},
                {"fett", "1"},
                {"kursiv", "-1"},
                {"Farbe", "255"},
                {"Ausrichtung", "2"},
                {"Wortlaut", "eins"}}) +
         entry({{"Typ", "Text"}, {"oben", "20"}, {"links", "7"}, {"Wortlaut", "zwei"}}) +
         entry({{"Typ", "Text"},
                {"oben", "30"},
                {"fett", "2"},
                {"Farbe", "-5"},
                {"Wortlaut", "drei"}}));

    ASSERT_EQ(texts().size(), 3u);
    const DrawCall& first = *texts()[0];
    EXPECT_EQ(first.font, "Courier New");
    EXPECT_EQ(first.size, 8.5);
    EXPECT_TRUE(first.bold);
    EXPECT_TRUE(first.italic);
    EXPECT_EQ(first.color, 255);

    const DrawCall& second = *texts()[1];
    EXPECT_EQ(second.font, "");
    EXPECT_EQ(second.size, 10);
    EXPECT_FALSE(second.bold);
    EXPECT_FALSE(second.italic);
    EXPECT_EQ(second.color, 0);
    EXPECT_NEAR(second.x, 7, 0.01);  // alignment 0 again

    EXPECT_TRUE(texts()[2]->bold);
    EXPECT_EQ(texts()[2]->color, 0);  // negative colours print black
    // Underline is not a template field and stays as the caller set it.
    EXPECT_TRUE(texts()[2]->underline);
}

TEST_F(Template, FlagsAreOnForAnyLeadingNumberButZero) {
    const char* values[] = {"0", "ja", "true", "True", " ", "0.0", "2", "-1", "1,5", "0.5"};
    std::string vorlage;
    for (const char* v : values)
        vorlage +=
            entry({{"Typ", "Text"}, {"oben", "10"}, {"fett", v}, {"kursiv", v}, {"Wortlaut", v}});
    draw(vorlage);

    ASSERT_EQ(texts().size(), std::size(values));
    for (std::size_t i = 0; i < std::size(values); ++i) {
        const bool on = i >= 6;
        EXPECT_EQ(texts()[i]->bold, on) << values[i];
        EXPECT_EQ(texts()[i]->italic, on) << values[i];
    }
}

TEST_F(Template, OnlyTheExactTypesDrawAnything) {
    draw(entry({{"Typ", "text"}, {"oben", "10"}, {"Wortlaut", "klein"}}) +
         entry({{"Typ", "LINIE"}, {"oben", "20"}, {"Breite", "10"}}) +
         entry({{"Typ", " Text"}, {"oben", "30"}, {"Wortlaut", "Blank davor"}}) +
         entry({{"oben", "40"}, {"Wortlaut", "ohne Typ"}}) +
         entry({{"Typ", "Text"}, {"oben", "50"}, {"Wortlaut", "richtig"}}));

    ASSERT_EQ(world.surface.calls.size(), 1u);
    EXPECT_EQ(world.surface.calls[0].text, "richtig");
    EXPECT_NEAR(world.surface.calls[0].y, 50, 0.01);
}

TEST_F(Template, AnEmptyEntryEndsTheTemplate) {
    draw("<FormularDaten></FormularDaten>" +
         entry({{"Typ", "Text"}, {"oben", "10"}, {"Wortlaut", "danach"}}));
    EXPECT_TRUE(world.surface.calls.empty());

    draw(entry({{"Typ", "Text"}, {"oben", "10"}, {"Wortlaut", "davor"}}) +
         "<FormularDaten>   </FormularDaten>" +
         entry({{"Typ", "Text"}, {"oben", "20"}, {"Wortlaut", "danach"}}));
    ASSERT_EQ(texts().size(), 1u);
    EXPECT_EQ(texts()[0]->text, "davor");
}

TEST_F(Template, LogsEveryStepOfATextEntry) {
    const std::string text =
        entry({{"Typ", "Text"}, {"oben", "20,25"}, {"Schriftart", "Arial"}, {"Wortlaut", "Grüße"}});
    draw("  " + text + "  ", 3);

    const std::string content = text.substr(15, text.size() - 15 - 16);
    const std::vector<std::string> expected = {
        w("    XMLVorlageHinzufuegen - Länge: ") + std::to_string(text.size()),
        "        TagInhalt wurde ausgeschnitten: " + content,
        "            Typ = Text",
        "            Printer.DeviceName = Fake Printer",
        "            Printer.CurrentY = 23,25",
        "            Printer.FontName = Arial",
        w("            Printer.Print Grüße"),
        w("            Printer.Print wurde ausgeführt."),
        "        TagInhalt wurde nicht ausgeschnitten - Schleife wird verlassen.",
    };
    EXPECT_EQ(logLines(world), expected);
}

TEST_F(Template, AnEmptyTemplateOnlyLogsItsLength) {
    draw("");
    EXPECT_EQ(logLines(world), std::vector<std::string>{w("    XMLVorlageHinzufuegen - Länge: 0")});

    draw("   ");
    const auto lines = logLines(world);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[1], w("    XMLVorlageHinzufuegen - Länge: 0"));
    EXPECT_EQ(lines[2], "        TagInhalt wurde nicht ausgeschnitten - Schleife wird verlassen.");
    EXPECT_TRUE(world.surface.calls.empty());
}

TEST_F(Template, PicturesAreLookedUpInTheProgramFolderAndMissingOnesSkipped) {
    world.folder.write("stempel.png", "png");
    testing::TempFolder elsewhere;
    elsewhere.write("fremd.png", "png");
    draw(entry({{"Typ", "Grafik"}, {"oben", "10"}, {"Wortlaut", "fehlt.png"}}) +
         entry({{"Typ", "Grafik"}, {"oben", "20"}, {"Wortlaut", "stempel.png"}}) +
         entry({{"Typ", "Grafik"}, {"oben", "30"}, {"Wortlaut", elsewhere.file("fremd.png")}}) +
         entry({{"Typ", "Grafik"}, {"oben", "40"}, {"Wortlaut", "unter/ordner.png"}}) +
         entry({{"Typ", "Text"}, {"oben", "50"}, {"Wortlaut", "weiter"}}));

    ASSERT_EQ(pictures().size(), 2u);
    EXPECT_EQ(pictures()[0]->text, world.folder.file("stempel.png"));
    // Without width and height the picture keeps its own size.
    EXPECT_NEAR(pictures()[0]->y2 - pictures()[0]->y, world.surface.naturalPictureHeight, 0.01);
    EXPECT_EQ(pictures()[1]->text, elsewhere.file("fremd.png"));
    // A path with a separator is not looked up in the program folder.
    EXPECT_EQ(world.pictures.loaded.size(), 2u);
    ASSERT_EQ(texts().size(), 1u);
    EXPECT_TRUE(world.messages.shown.empty());
}

TEST_F(Template, EveryPictureCountsInTheHostSettings) {
    world.folder.write("Halmor.ini", "[Drucker]\r\nLabeldrucker=Zebra\r\n");
    world.folder.write("a.png", "png");
    draw(entry({{"Typ", "Grafik"}, {"oben", "10"}, {"Wortlaut", "a.png"}}) +
         entry({{"Typ", "Grafik"}, {"oben", "40"}, {"Wortlaut", "a.png"}}) +
         entry({{"Typ", "Grafik"}, {"oben", "70"}, {"Wortlaut", "fehlt.png"}}));

    const std::string ini = world.folder.read("Halmor.ini").value_or("");
    EXPECT_NE(ini.find(w("AufrufZähler=2")), std::string::npos) << ini;
    EXPECT_NE(ini.find("Labeldrucker=Zebra"), std::string::npos);
}

// The handler reports faults up to the first printed text; after that the
// caller must learn that the form is incomplete.
TEST_F(Template, ANonPictureBeforeTheFirstTextIsReportedAndEndsTheTemplate) {
    world.folder.write("kaputt.bad", "no picture");
    draw(entry({{"Typ", "Linie"}, {"oben", "5"}, {"Breite", "10"}}) +
         entry({{"Typ", "Grafik"}, {"oben", "10"}, {"Wortlaut", "kaputt.bad"}}) +
         entry({{"Typ", "Text"}, {"oben", "20"}, {"Wortlaut", "nie"}}));

    const std::string message =
        w("Fehler 481 (Ungültiges Bild) in Prozedur XMLVorlageHinzufuegen im Modul "
          "FunktionenDrucker");
    ASSERT_EQ(world.messages.shown.size(), 1u);
    EXPECT_EQ(world.messages.shown[0].text, message);
    EXPECT_EQ(world.messages.shown[0].title, "");
    EXPECT_EQ(world.messages.shown[0].icon, MessageIcon::Stop);
    EXPECT_EQ(bars().size(), 1u);
    EXPECT_TRUE(texts().empty());

    const auto lines = logLines(world);
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[lines.size() - 2], "Err.Number: 481");
    EXPECT_EQ(lines.back(), "    " + message);
}

TEST_F(Template, ANonPictureAfterTheFirstTextGoesToTheCaller) {
    world.folder.write("kaputt.bad", "no picture");
    try {
        draw(entry({{"Typ", "Text"}, {"oben", "10"}, {"Wortlaut", "schon da"}}) +
             entry({{"Typ", "Grafik"}, {"oben", "20"}, {"Wortlaut", "kaputt.bad"}}) +
             entry({{"Typ", "Text"}, {"oben", "30"}, {"Wortlaut", "nie"}}));
        FAIL() << "no error reached the caller";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number(), err::kInvalidPicture);
    }
    ASSERT_EQ(texts().size(), 1u);
    EXPECT_TRUE(world.messages.shown.empty());
    EXPECT_EQ(world.log().find("Err.Number"), std::string::npos);
}

TEST_F(Template, AFieldThatIsNoNumberIsATypeMismatch) {
    // An unused field is read too, and a text entry fails before it prints.
    draw(entry({{"Typ", "Text"}, {"oben", "10"}, {"Breite", "breit"}, {"Wortlaut", "nie"}}));
    ASSERT_EQ(world.messages.shown.size(), 1u);
    EXPECT_EQ(world.messages.shown[0].text,
              w("Fehler 13 (Typen unverträglich) in Prozedur XMLVorlageHinzufuegen im Modul "
                "FunktionenDrucker"));
    EXPECT_TRUE(texts().empty());

    EXPECT_THROW(draw(entry({{"Typ", "Text"}, {"oben", "10"}, {"Wortlaut", "da"}}) +
                      entry({{"Typ", "Linie"}, {"oben", "zwanzig"}})),
                 RuntimeError);
}

TEST_F(Template, AFontSizeTheDeviceRefusesIsReportedBeforeTheTextPrints) {
    world.surface.minFontSize = 4;
    draw(entry({{"Typ", "Text"}, {"oben", "10"}, {"Groesse", "2"}, {"Wortlaut", "winzig"}}));
    ASSERT_EQ(world.messages.shown.size(), 1u);
    EXPECT_NE(world.messages.shown[0].text.find("Fehler 380 ("), std::string::npos);
    EXPECT_TRUE(texts().empty());
}

class PrinterFailingSurface : public testing::FakeSurface {
  public:
    void filledBox(double, double, double, double, std::int32_t) override {
        raiseError(err::kPrinterError);
    }
};

TEST(TemplatePrinterFault, IsLoggedWithoutAMessage) {
    TestWorld world;
    PrinterFailingSurface surface;
    Context context{world.services, surface, world.pictures, PageBounds{}};
    XMLVorlageHinzufuegen(context,
                          entry({{"Typ", "Linie"}, {"oben", "10"}, {"Breite", "5"}}) +
                              entry({{"Typ", "Text"}, {"oben", "20"}, {"Wortlaut", "nie"}}),
                          0);
    EXPECT_TRUE(world.messages.shown.empty());
    EXPECT_TRUE(surface.texts().empty());
    const auto lines = logLines(world);
    EXPECT_EQ(lines.back(), "Err.Number: 482");
}

}  // namespace
}  // namespace lumaro
