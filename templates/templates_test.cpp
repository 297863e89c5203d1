// Templates on the fake surface. What the examples' templates draw (texts, bars
// and pictures in place, aligned, heads and feet measured and drawn on their
// sides) is pinned by their traces; these are the rules no example reaches.
#include "templates/templates.h"

#include <gtest/gtest.h>

#include "printing/drawing.h"
#include "support/errors.h"
#include "support/ini.h"
#include "templates/picture_window.h"
#include "tests/fakes/fakes.h"

namespace lumaro::testing {
namespace {

// entry("Typ=Text;oben=20,5") -> "<FormularDaten><Typ>Text</Typ>...</FormularDaten>",
// UTF-8 in, Windows-1252 out.
std::string entry(const std::string& fields) {
    std::string s = "<FormularDaten>";
    for (std::size_t start = 0, end; start < fields.size(); start = end + 1) {
        end = std::min(fields.find(';', start), fields.size());
        const std::string field = fields.substr(start, end - start);
        const std::size_t eq = field.find('=');
        s += "<" + field.substr(0, eq) + ">" + w(field.substr(eq + 1)) + "</" +
             field.substr(0, eq) + ">";
    }
    return s + "</FormularDaten>";
}

class Template : public ::testing::Test {
  protected:
    void draw(const std::string& vorlage, std::int16_t versatz = 0) {
        XMLVorlageHinzufuegen(world.context, vorlage, versatz);
    }
    std::vector<DrawCall> calls(DrawCall::Kind kind) const { return world.surface.callsOf(kind); }
    std::vector<std::string> messages() const {
        std::vector<std::string> out;
        for (const ShownMessage& m : world.messages.shown) {
            EXPECT_EQ(m.icon, MessageIcon::Stop);
            out.push_back(m.title + m.text);
        }
        return out;
    }
    TestWorld world;
};

TEST_F(Template, NothingCarriesOverFromOneEntryToTheNext) {
    world.surface.setFontUnderline(true);
    draw("kopf " +
             entry("Typ=Text;oben=20,5;links=15;Schriftart=Courier New;Groesse=8,5;fett=1;"
                   "kursiv=-1;Farbe=255;Ausrichtung=2;Wortlaut=Müller") +
             " dazwischen " + entry("Typ=Linie;oben=50;links=10;Breite=100,25;Hoehe=2;Farbe=255") +
             entry("Typ=Grafik;oben=40;Wortlaut=fehlt.png") +  // missing: skipped
             entry("Typ=Text;oben=20;links=7;Groesse=0;Wortlaut=zwei") +
             entry("Typ=Text;oben=30;Farbe=-5;Wortlaut=drei"),
         5);
    const auto texts = calls(DrawCall::Text);
    // Places, offsets and bars are pinned by the traces. Font, size (0 counts as
    // missing), style, colour and alignment are the entry's own; negative colours
    // print black.
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[1].font, "");
    EXPECT_EQ(texts[1].size, 10);
    EXPECT_FALSE(texts[1].bold || texts[1].italic);
    EXPECT_EQ(texts[1].color, 0);
    EXPECT_NEAR(texts[1].x, 7, 0.01);
    EXPECT_EQ(texts[2].color, 0);
    EXPECT_TRUE(texts[2].underline);  // not a template field: stays as the caller set it
    EXPECT_TRUE(calls(DrawCall::Picture).empty() && world.messages.shown.empty());
}

// The handler reports faults up to the first printed text, logged and shown;
// after that the caller must learn that the form is incomplete.
TEST_F(Template, FaultsBeforeTheFirstTextAreReportedAfterItTheyGoToTheCaller) {
    world.folder.write("kaputt.bad", "no picture");
    const std::string report = " in Prozedur XMLVorlageHinzufuegen im Modul FunktionenDrucker";
    draw(entry("Typ=Linie;oben=5;Breite=10") + entry("Typ=Grafik;oben=10;Wortlaut=kaputt.bad") +
         entry("Typ=Text;oben=20;Wortlaut=nie"));
    // Every field is read, used or not, and a text fails before it prints.
    draw(entry("Typ=Text;oben=10;Breite=breit;Wortlaut=nie"));
    EXPECT_EQ(messages(),
              (std::vector<std::string>{w("Fehler 481 (Ungültiges Bild)") + report,
                                        w("Fehler 13 (Typen unverträglich)") + report}));
    EXPECT_EQ(calls(DrawCall::FilledBox).size(), 1u);
    EXPECT_TRUE(calls(DrawCall::Text).empty());
    EXPECT_NE(world.log().find("Err.Number: 481"), std::string::npos);
    EXPECT_TRUE(world.log().ends_with(w("    Fehler 13 (Typen unverträglich)") + report + "\r\n"));

    TestWorld after;
    after.folder.write("kaputt.bad", "no picture");
    const std::string text = entry("Typ=Text;oben=10;Wortlaut=da");
    EXPECT_EQ(errorOf([&] {
                  XMLVorlageHinzufuegen(after.context,
                                        text + entry("Typ=Grafik;oben=20;Wortlaut=kaputt.bad"), 0);
              }),
              err::kInvalidPicture);
    EXPECT_TRUE(after.messages.shown.empty());
    EXPECT_EQ(after.log().find("Err.Number"), std::string::npos);

    // A printer that cannot print is logged without a message.
    TestWorld offline;
    offline.surface.fakeDevice().ready = false;
    XMLVorlageHinzufuegen(offline.context, entry("Typ=Linie;oben=10") + text, 0);
    EXPECT_TRUE(offline.messages.shown.empty());
    EXPECT_TRUE(offline.surface.texts().empty());
    EXPECT_NE(offline.log().find("Err.Number: 482"), std::string::npos);
}

// Each picture a template draws loads the hidden holder, which counts its loads
// in Halmor.ini from the first one's time on and writes its geometry.
TEST_F(Template, PicturesCountInTheHostsIniFile) {
    const auto value = [&](const std::string& key) {
        return INILesen(world.services, "wdwGrafikSpeicher", key, "-");
    };
    world.folder.write("Halmor.ini", "[Drucker]\r\nLabeldrucker=Zebra\r\n");
    world.folder.write("logo.png", "png");
    draw(entry("Typ=Grafik;oben=10;Wortlaut=logo.png") + entry("Typ=Grafik;Wortlaut=logo.png"));
    EXPECT_EQ(value(w("AufrufZähler")) + " " + value(w("AufrufZählerStart")), "2 05.12.2026 14:03");
    // Centred on 1920 x 1080 pixels of 15 twips, on whole pixels.
    EXPECT_EQ(value("Breit") + " " + value("Hoch") + " " + value("Links") + " " + value("Oben"),
              "2955 2220 12915 6990");
}

TEST_F(Template, HeadAndFootFaultsNameTheRoutine) {
    const auto kopf = [&](const std::string& vorlage) {
        double kopfUnten = 0;
        DokuKopfHinzufuegen(world.context, vorlage, 105, kopfUnten);
        return kopfUnten;
    };
    const auto fuss = [&](const std::string& vorlage, std::int16_t nurMessen) {
        double fussOben = 0;
        DokuFussHinzufuegen(world.context, vorlage, 105, fussOben, nurMessen);
        return fussOben;
    };
    world.folder.write("kaputt.bad", "x");
    const std::string broken = entry("Typ=Grafik;oben=20;Wortlaut=kaputt.bad") +
                               entry("Typ=Grafik;oben=150;Wortlaut=kaputt.bad");
    EXPECT_EQ(kopf(broken), 0);  // not the 20 of a normal end
    // Measuring does not load the picture, drawing does.
    EXPECT_EQ(fuss(broken, kTrue), 150);
    EXPECT_EQ(world.messages.shown.size(), 1u);
    fuss(broken, kFalse);
    const std::string fault = w("Fehler 481 (Ungültiges Bild) in Prozedur ");
    EXPECT_EQ(messages(),
              (std::vector<std::string>{fault + "DokuKopfHinzufuegen im Modul FunktionenDrucker",
                                        fault + "DokuFussHinzufuegen im Modul FunktionenDrucker"}));
    // A measured text ends the handler's cover as a printed one does.
    double fussOben = 0;
    EXPECT_THROW(DokuFussHinzufuegen(world.context,
                                     entry("Typ=Text;oben=150;Wortlaut=Fuss") +
                                         entry("Typ=Linie;oben=160;Farbe=rot"),
                                     105, fussOben, kTrue),
                 RuntimeError);
    EXPECT_EQ(fussOben, 150);
    EXPECT_EQ(world.messages.shown.size(), 2u);
    // Entries of the other side are not read further: whole, this foot entry
    // would be a type mismatch.
    kopf(entry("Typ=Linie;oben=150;Breite=breit") + entry("Typ=Text;oben=20;Wortlaut=Kopf"));
    EXPECT_EQ(world.messages.shown.size(), 2u);
    EXPECT_EQ(world.surface.texts("Kopf").size(), 1u);
}

}  // namespace
}  // namespace lumaro::testing
