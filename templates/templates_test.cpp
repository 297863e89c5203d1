#include "templates/templates.h"

#include <gtest/gtest.h>

#include "support/errors.h"
#include "templates/template_test_support.h"

namespace lumaro {
namespace {

using testing::DrawCall;
using testing::entry;
using testing::errorOf;
using testing::logLines;
using testing::w;

class Template : public ::testing::Test {
  protected:
    void draw(const std::string& vorlage, std::int16_t versatz = 0) {
        XMLVorlageHinzufuegen(world.context, vorlage, versatz);
    }
    std::vector<DrawCall> calls(DrawCall::Kind kind) const {
        return testing::callsOf(world.surface, kind);
    }
    // Where a call starts and ends, to the hundredth.
    static void expectAt(const DrawCall& c, double x, double y, double x2, double y2) {
        EXPECT_NEAR(c.x, x, 0.01);
        EXPECT_NEAR(c.y, y, 0.01);
        EXPECT_NEAR(c.x2, x2, 0.01);
        EXPECT_NEAR(c.y2, y2, 0.01);
    }
    std::string lastMessage() const {
        return world.messages.shown.empty() ? "" : world.messages.shown.back().text;
    }
    testing::TestWorld world;
};

TEST_F(Template, PlacesTextsBarsAndPicturesAtTheirPositionsPlusTheOffset) {
    world.folder.write("logo.png", "png");
    draw("kopf " + entry("Typ=Text;oben=20,5;links=15;Groesse=0;Schriftart=Arial;Wortlaut=Müller") +
             " dazwischen " + entry("Typ=Linie;oben=50;links=10;Breite=100,25;Hoehe=2;Farbe=255") +
             entry("Typ=Grafik;oben=60;links=20,5;Breite=40;Hoehe=30;Wortlaut=logo.png"),
         5);

    const auto texts = calls(DrawCall::Text);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].text, w("Müller"));
    EXPECT_NEAR(texts[0].x, 15, 0.01);
    EXPECT_NEAR(texts[0].y, 25.5, 0.01);
    EXPECT_EQ(texts[0].size, 10);  // Groesse 0 counts as missing
    EXPECT_EQ(texts[0].font, "Arial");
    const auto bars = calls(DrawCall::FilledBox);
    ASSERT_EQ(bars.size(), 1u);
    expectAt(bars[0], 10, 55, 110.25, 57);
    EXPECT_EQ(bars[0].color, 255);
    // Picture positions and sizes are whole numbers, halves to the even one.
    const auto pictures = calls(DrawCall::Picture);
    ASSERT_EQ(pictures.size(), 1u);
    EXPECT_EQ(pictures[0].text, world.folder.file("logo.png"));
    expectAt(pictures[0], 20, 65, 60, 95);
    EXPECT_TRUE(world.messages.shown.empty());
}

TEST_F(Template, AlignsOnTheRoundedPageWidth) {
    world.surface.setScaleWidth(209.6);  // counts as 210
    draw(entry("Typ=Text;oben=10;links=10;Ausrichtung=1;Wortlaut=ABCDE") +
         entry("Typ=Linie;oben=20;links=10;Breite=30;Ausrichtung=1") +
         entry("Typ=Text;oben=30;links=99;Ausrichtung=2;Wortlaut=ABCDE") +
         entry("Typ=Linie;oben=40;links=99;Breite=50;Ausrichtung=2,5") +  // even: 2
         entry("Typ=Text;oben=50;links=5;Ausrichtung=3;Wortlaut=def") +
         entry("Typ=Linie;oben=60;Breite=30;Ausrichtung=-1") +
         entry("Typ=Linie;oben=70;Breite=30;Hoehe=  "));

    const auto texts = calls(DrawCall::Text);
    ASSERT_EQ(texts.size(), 3u);
    // 5 characters at 10 points are 5 units: the text ends 10 before the edge.
    EXPECT_NEAR(texts[0].x, 195, 0.01);
    EXPECT_NEAR(texts[0].x2, 200, 0.01);
    EXPECT_NEAR(texts[1].x, 102.5, 0.01);
    // An unknown code goes on from where the last text ended.
    EXPECT_NEAR(texts[2].x, texts[1].x2, 0.01);
    EXPECT_NEAR(texts[2].y, 50, 0.01);

    // The aligned-right bar ends at links; -1 draws nothing; a blank height
    // gives a hairline.
    const auto bars = calls(DrawCall::FilledBox);
    ASSERT_EQ(bars.size(), 3u);
    EXPECT_NEAR(bars[0].x, -20, 0.01);
    EXPECT_NEAR(bars[0].x2, 10, 0.01);
    EXPECT_NEAR(bars[1].x, 80, 0.01);
    EXPECT_NEAR(bars[1].x2, 130, 0.01);
    EXPECT_NEAR(bars[2].y, 70, 0.01);
    EXPECT_NEAR(bars[2].y2, 70, 0.01);
}

TEST_F(Template, NothingCarriesOverFromOneEntryToTheNext) {
    world.surface.setFontUnderline(true);
    draw(entry("Typ=Text;oben=10;Schriftart=Courier New;Groesse=8,5;fett=1;kursiv=-1;Farbe=255;"
               "Ausrichtung=2;Wortlaut=eins") +
         entry("Typ=Text;oben=20;links=7;Wortlaut=zwei") +
         entry("Typ=Text;oben=30;Farbe=-5;Wortlaut=drei"));

    const auto texts = calls(DrawCall::Text);
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0].font, "Courier New");
    EXPECT_EQ(texts[0].size, 8.5);
    EXPECT_TRUE(texts[0].bold && texts[0].italic);
    EXPECT_EQ(texts[0].color, 255);
    EXPECT_EQ(texts[1].font, "");
    EXPECT_EQ(texts[1].size, 10);
    EXPECT_FALSE(texts[1].bold || texts[1].italic);
    EXPECT_EQ(texts[1].color, 0);
    EXPECT_NEAR(texts[1].x, 7, 0.01);
    EXPECT_EQ(texts[2].color, 0);     // negative colours print black
    EXPECT_TRUE(texts[2].underline);  // not a template field: stays as the caller set it
}

TEST_F(Template, FlagsAreOnForAnyLeadingNumberButZero) {
    const char* values[] = {"0", "ja", "true", " ", "0.0", "2", "-1", "1,5", "0.5"};
    std::string vorlage;
    for (const char* v : values)
        vorlage += entry("Typ=Text;oben=10;fett=" + std::string(v) + ";kursiv=" + v);
    draw(vorlage);

    const auto texts = calls(DrawCall::Text);
    ASSERT_EQ(texts.size(), std::size(values));
    for (std::size_t i = 0; i < texts.size(); ++i) {
        EXPECT_EQ(texts[i].bold, i >= 5) << values[i];
        EXPECT_EQ(texts[i].italic, i >= 5) << values[i];
    }
}

TEST_F(Template, OnlyExactTypesDrawAndAnEmptyEntryEndsTheTemplate) {
    draw(entry("Typ=text;oben=10;Wortlaut=klein") + entry("Typ=LINIE;oben=20;Breite=10") +
         entry("Typ= Text;oben=30;Wortlaut=Blank") + entry("oben=40;Wortlaut=ohne Typ") +
         entry("Typ=Text;oben=50;Wortlaut=richtig") + "<FormularDaten>  </FormularDaten>" +
         entry("Typ=Text;oben=60;Wortlaut=danach"));
    ASSERT_EQ(world.surface.calls.size(), 1u);
    EXPECT_EQ(world.surface.calls[0].text, "richtig");

    draw("<FormularDaten></FormularDaten>" + entry("Typ=Text;oben=10;Wortlaut=danach"));
    EXPECT_EQ(world.surface.calls.size(), 1u);
}

TEST_F(Template, LogsEveryStepOfATextEntry) {
    const std::string text = entry("Typ=Text;oben=20,25;Schriftart=Arial;Wortlaut=Grüße");
    draw("  " + text + "  ", 3);
    draw("");

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
        w("    XMLVorlageHinzufuegen - Länge: 0"),
    };
    EXPECT_EQ(logLines(world), expected);
}

TEST_F(Template, PicturesAreLookedUpInTheProgramFolderAndMissingOnesSkipped) {
    world.folder.write("Halmor.ini", "[Drucker]\r\nLabeldrucker=Zebra\r\n");
    world.folder.write("stempel.png", "png");
    testing::TempFolder elsewhere;
    elsewhere.write("fremd.png", "png");
    draw(entry("Typ=Grafik;oben=10;Wortlaut=fehlt.png") +
         entry("Typ=Grafik;oben=20;Wortlaut=stempel.png") +
         entry("Typ=Grafik;oben=30;Wortlaut=" + elsewhere.file("fremd.png")) +
         entry("Typ=Grafik;oben=40;Wortlaut=unter/stempel.png") +
         entry("Typ=Text;oben=50;Wortlaut=weiter"));

    const auto pictures = calls(DrawCall::Picture);
    ASSERT_EQ(pictures.size(), 2u);
    EXPECT_EQ(pictures[0].text, world.folder.file("stempel.png"));
    // Without width and height the picture keeps its own size.
    EXPECT_NEAR(pictures[0].y2, 20 + 20, 0.01);  // 200 pixels at 254 dpi
    EXPECT_EQ(pictures[1].text, elsewhere.file("fremd.png"));
    EXPECT_EQ(world.pictures.loaded.size(), 2u);
    EXPECT_EQ(calls(DrawCall::Text).size(), 1u);
    EXPECT_TRUE(world.messages.shown.empty());
    // Each picture drawn loads the holder once.
    const std::string ini = world.folder.read("Halmor.ini").value_or("");
    EXPECT_NE(ini.find(w("AufrufZähler=2\r\n")), std::string::npos) << ini;
}

// The handler reports faults up to the first printed text; after that the
// caller must learn that the form is incomplete.
TEST_F(Template, FaultsBeforeTheFirstTextAreReportedAndEndTheTemplate) {
    world.folder.write("kaputt.bad", "no picture");
    draw(entry("Typ=Linie;oben=5;Breite=10") + entry("Typ=Grafik;oben=10;Wortlaut=kaputt.bad") +
         entry("Typ=Text;oben=20;Wortlaut=nie"));
    const std::string message =
        w("Fehler 481 (Ungültiges Bild) in Prozedur XMLVorlageHinzufuegen im Modul "
          "FunktionenDrucker");
    ASSERT_EQ(world.messages.shown.size(), 1u);
    EXPECT_EQ(lastMessage(), message);
    EXPECT_EQ(world.messages.shown[0].title, "");
    EXPECT_EQ(world.messages.shown[0].icon, MessageIcon::Stop);
    EXPECT_EQ(calls(DrawCall::FilledBox).size(), 1u);
    EXPECT_TRUE(calls(DrawCall::Text).empty());
    const auto lines = logLines(world);
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[lines.size() - 2], "Err.Number: 481");
    EXPECT_EQ(lines.back(), "    " + message);

    // Every field is read, used or not, and a text fails before it prints.
    draw(entry("Typ=Text;oben=10;Breite=breit;Wortlaut=nie"));
    EXPECT_EQ(lastMessage(), w("Fehler 13 (Typen unverträglich) in Prozedur "
                               "XMLVorlageHinzufuegen im Modul FunktionenDrucker"));
    EXPECT_TRUE(calls(DrawCall::Text).empty());
}

TEST_F(Template, FaultsAfterTheFirstTextGoToTheCaller) {
    world.folder.write("kaputt.bad", "no picture");
    const std::string text = entry("Typ=Text;oben=10;Wortlaut=da");
    EXPECT_EQ(errorOf([&] { draw(text + entry("Typ=Grafik;oben=20;Wortlaut=kaputt.bad") + text); }),
              err::kInvalidPicture)
        << "no error reached the caller";
    EXPECT_THROW(draw(text + entry("Typ=Linie;oben=zwanzig")), RuntimeError);
    EXPECT_EQ(calls(DrawCall::Text).size(), 2u);
    EXPECT_TRUE(world.messages.shown.empty());
    EXPECT_EQ(world.log().find("Err.Number"), std::string::npos);
}

TEST(TemplatePrinterFault, IsLoggedWithoutAMessage) {
    testing::TestWorld world;
    world.surface.fakeDevice().ready = false;
    XMLVorlageHinzufuegen(
        world.context, entry("Typ=Linie;oben=10;Breite=5") + entry("Typ=Text;oben=20;Wortlaut=nie"),
        0);
    EXPECT_TRUE(world.messages.shown.empty());
    EXPECT_TRUE(world.surface.texts().empty());
    EXPECT_EQ(logLines(world).back(), "Err.Number: 482");
}

}  // namespace
}  // namespace lumaro
