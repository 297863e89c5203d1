#include "support/ini.h"

#include <gtest/gtest.h>

#include "support/file_system.h"
#include "tests/fakes/fakes.h"

namespace lumaro {
namespace {

using testing::w;

TEST(IniText, FindsTheFirstSectionAndKeyWithoutRegardToCaseBlanksOrLineEnds) {
    const std::string ini =
        "k=0\n[Allgemein]\r\nPfad=C:\\vb\r\n  [ drucker ]  \r\n  LABELDRUCKER  =  Zebra LP  \r\n"
        ";k=1\n  ; k=2\n[broken\nk\nk=3=4\nk=5\n[b]\nx=9\n[DRUCKER]\nz=4\n";
    struct Case {
        std::string section, key;
        std::optional<std::string> expected;
    };
    for (const Case& c : std::vector<Case>{
             {" Drucker ", " Labeldrucker ", "  Zebra LP  "},
             {"Allgemein", "pfad", "C:\\vb"},
             {"Drucker", "Pfad", std::nullopt},  // other section
             {"Drucker", "", std::nullopt},
             {"drucker", "k", "3=4"},  // comments and lines without '=' are no keys
             {"drucker", ";k", std::nullopt},
             {"drucker", "z", std::nullopt},  // only in the repeated section
             {"", "k", std::nullopt},         // keys before any section
         }) {
        EXPECT_EQ(iniGetValue(ini, c.section, c.key), c.expected) << c.section << c.key;
    }
    const std::string umlauts = w("[wdwGrafikSpeicher]\nAUFRUFZÄHLER=4\n");
    EXPECT_EQ(iniGetValue(umlauts, "wdwgrafikspeicher", w("AufrufZähler")), "4");
    EXPECT_EQ(iniGetValue(umlauts, "wdwGrafikSpeicher", "AufrufZahler"), std::nullopt);
    EXPECT_EQ(iniGetValue("[a]\rk=1\rm=2", "a", "m"), "2");
    EXPECT_EQ(iniGetValue("[a]\n\r\nk=1\r\rm=2\n", "a", "m"), "2");
}

TEST(IniTextWrite, ChangesOnlyTheValueOrAddsTheKeyInTheFilesOwnLineEndsKeepingEveryOtherByte) {
    struct Case {
        std::string before, section, key, value, after;
    };
    for (const Case& c : std::vector<Case>{
             {w("; Halmor\r\n[Drucker]\r\nlabelDrucker =  Alt  \r\nSonst=ä\r\n\r\n[Andere]\r\n"
                "Labeldrucker=bleibt"),
              "DRUCKER", "Labeldrucker", w("Brother (Büro)"),
              w("; Halmor\r\n[Drucker]\r\nlabelDrucker =  Brother (Büro)\r\nSonst=ä\r\n\r\n"
                "[Andere]\r\nLabeldrucker=bleibt")},
             {"[a]\nk=1\nk=2\n", "a", "k", "x", "[a]\nk=x\nk=2\n"},
             {"[a]\rk=\r[b]\r", "a", "k", "v", "[a]\rk=v\r[b]\r"},
             // A missing key follows the last non-empty line of the first such section.
             {"[a]\r\nx=1\r\n\r\n\r\n[b]\r\n", "A", "k", "v",
              "[a]\r\nx=1\r\nk=v\r\n\r\n\r\n[b]\r\n"},
             {"[a]\n[b]\n", "a", "k", "v", "[a]\nk=v\n[b]\n"},
             {"[a]\nx=1", "a", "k", "v", "[a]\nx=1\nk=v\n"},
             {"[a]\rx=1\r", "a", "k", "v", "[a]\rx=1\rk=v\r"},
             {"[a]\nx=1\n[a]\ny=2\n", "a", "k", "v", "[a]\nx=1\nk=v\n[a]\ny=2\n"},
             // A missing section goes to the end.
             {"[a]\nx=1\n", "s", "k", "v", "[a]\nx=1\n[s]\nk=v\n"},
             {"[a]\r\nx=1", "s", "k", "v", "[a]\r\nx=1\r\n[s]\r\nk=v\r\n"},
             {"", "s", "k", "v", "[s]\r\nk=v\r\n"},
             {"x", "s", "k", "v", "x\r\n[s]\r\nk=v\r\n"},
             // What would break the file is not written; a value is cut at its line break.
             {"[a]\nk=1\n", "a", "k", "2\r\n[b]\r\nevil=1", "[a]\nk=2\n"},
             {"[a]\n", "a]x", "k", "v", "[a]\n"},
             {"[a]\n", "a", "k=v", "v", "[a]\n"},
             {"[a]\n", "a", "", "v", "[a]\n"},
             {"[a]\n", "a", "k\nj", "v", "[a]\n"},
         }) {
        EXPECT_EQ(iniSetValue(c.before, c.section, c.key, c.value), c.after) << c.before;
    }
}

TEST(IniFile, INILesenTrimsAndCutsTo49CharactersAndINISpeichernChangesTheValueInPlace) {
    testing::TestWorld world;
    const Services& s = world.services;
    EXPECT_EQ(INILesen(s, "Drucker", "Labeldrucker", "x"), "x");  // no file
    const std::string sixty(60, '6');
    const std::string before = w("[Drucker]\r\nLabeldrucker=  Büro  LP  \r\nLang=") + sixty +
                               "\r\nLeer=\r\nZitat=\"  Canon \"\r\nCut=" + std::string(48, 'a') +
                               "  b\r\nB=12ab\r\n";
    world.folder.write("Halmor.ini", before);
    EXPECT_EQ(INILesen(s, "Drucker", "Labeldrucker", ""), w("Büro  LP"));
    EXPECT_EQ(INILesen(s, "Drucker", "Lang", ""), sixty.substr(0, 49));
    EXPECT_EQ(INILesen(s, "Drucker", "Leer", "vorgabe"), "");
    EXPECT_EQ(INILesen(s, "drucker", "zitat", ""), "Canon");
    EXPECT_EQ(INILesen(s, "Drucker", "Cut", ""), std::string(48, 'a'));  // the cut ends in a blank
    EXPECT_EQ(INILesen(s, "Drucker", "Fehlt", " vorgabe "), "vorgabe");
    EXPECT_EQ(INIZahlLesen(s, "Drucker", "B", 0), 12);
    EXPECT_EQ(INIZahlLesen(s, "Drucker", "Leer", 7), std::nullopt);
    EXPECT_EQ(INIZahlLesen(s, "Drucker", "missing", -3), -3);

    INISpeichern(s, "Drucker", "Labeldrucker", "Neu");
    std::string expected = before;
    expected.replace(expected.find(w("Büro  LP  ")), 10, "Neu");
    EXPECT_EQ(world.folder.read("Halmor.ini"), expected);
}

}  // namespace
}  // namespace lumaro
