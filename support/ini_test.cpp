#include "support/ini.h"

#include <gtest/gtest.h>

#include "support/file_system.h"
#include "tests/fakes/fakes.h"

namespace lumaro {
namespace {

using testing::w;

TEST(IniText, FindsTheFirstSectionAndKeyWithoutRegardToCaseBlanksOrLineEnds) {
    const std::string ini =
        "[Allgemein]\r\nPfad=C:\\vb\r\n  [ drucker ]  \r\n  LABELDRUCKER  =  Zebra LP 2844  \r\n";
    EXPECT_EQ(iniGetValue(ini, " Drucker ", " Labeldrucker "), "  Zebra LP 2844  ");
    EXPECT_EQ(iniGetValue(ini, "Allgemein", "pfad"), "C:\\vb");
    EXPECT_EQ(iniGetValue(ini, "Drucker", "Pfad"), std::nullopt);  // other section
    EXPECT_EQ(iniGetValue(ini, "Drucker", ""), std::nullopt);
    const std::string umlauts = w("[wdwGrafikSpeicher]\nAUFRUFZÄHLER=4\n");
    EXPECT_EQ(iniGetValue(umlauts, "wdwgrafikspeicher", w("AufrufZähler")), "4");
    EXPECT_EQ(iniGetValue(umlauts, "wdwGrafikSpeicher", "AufrufZahler"), std::nullopt);
    EXPECT_EQ(iniGetValue("[a]\rk=1\rm=2", "a", "m"), "2");
    EXPECT_EQ(iniGetValue("[a]\n\r\nk=1\r\rm=2\n", "a", "m"), "2");
    const std::string twice = "[a]\nk=1\nk=2\n[b]\nx=9\n[A]\nk=3\nz=4\n";
    EXPECT_EQ(iniGetValue(twice, "a", "k"), "1");
    EXPECT_EQ(iniGetValue(twice, "a", "z"), std::nullopt);  // only in the repeated section
}

TEST(IniText, CommentsBracketsAndLinesWithoutEqualsAreNoKeys) {
    const std::string ini = "k=0\n[a]\n;k=1\n  ; k=2\n[broken\nk\nk=3=4\n";
    EXPECT_EQ(iniGetValue(ini, "a", "k"), "3=4");
    EXPECT_EQ(iniGetValue(ini, "a", ";k"), std::nullopt);
    EXPECT_EQ(iniGetValue("k=0\n", "", "k"), std::nullopt);  // keys before any section
}

TEST(IniTextWrite, ReplacesOnlyTheValueAndKeepsEveryOtherByte) {
    const std::string ini =
        w("; Einstellungen von Halmor\r\n[Drucker]\r\nlabelDrucker =  Alt  \r\nSonst=ä\r\n\r\n"
          "[Andere]\r\nLabeldrucker=bleibt");
    EXPECT_EQ(iniSetValue(ini, "DRUCKER", "Labeldrucker", w("Brother QL-700 (Büro)")),
              w("; Einstellungen von Halmor\r\n[Drucker]\r\nlabelDrucker =  Brother QL-700 "
                "(Büro)\r\nSonst=ä\r\n\r\n[Andere]\r\nLabeldrucker=bleibt"));
    EXPECT_EQ(iniSetValue("[a]\nk=1\nk=2\n", "a", "k", "x"), "[a]\nk=x\nk=2\n");
    EXPECT_EQ(iniSetValue("[a]\rk=\r[b]\r", "a", "k", "v"), "[a]\rk=v\r[b]\r");
}

TEST(IniTextWrite, AMissingKeyFollowsTheLastNonEmptyLineOfItsSection) {
    EXPECT_EQ(iniSetValue("[a]\r\nx=1\r\n\r\n\r\n[b]\r\ny=2\r\n", "A", "k", "v"),
              "[a]\r\nx=1\r\nk=v\r\n\r\n\r\n[b]\r\ny=2\r\n");
    EXPECT_EQ(iniSetValue("[a]\n[b]\n", "a", "k", "v"), "[a]\nk=v\n[b]\n");
    EXPECT_EQ(iniSetValue("[a]\nx=1", "a", "k", "v"), "[a]\nx=1\nk=v\n");
    EXPECT_EQ(iniSetValue("[a]\rx=1\r", "a", "k", "v"), "[a]\rx=1\rk=v\r");
    // the first of two sections of the name gets it
    EXPECT_EQ(iniSetValue("[a]\nx=1\n[a]\ny=2\n", "a", "k", "v"), "[a]\nx=1\nk=v\n[a]\ny=2\n");
}

TEST(IniTextWrite, AMissingSectionGoesToTheEndInTheFilesOwnLineEnds) {
    EXPECT_EQ(iniSetValue("[a]\nx=1\n", "Drucker", "Labeldrucker", "Z"),
              "[a]\nx=1\n[Drucker]\nLabeldrucker=Z\n");
    EXPECT_EQ(iniSetValue("[a]\r\nx=1", "Drucker", "Labeldrucker", "Z"),
              "[a]\r\nx=1\r\n[Drucker]\r\nLabeldrucker=Z\r\n");
    EXPECT_EQ(iniSetValue("", "Drucker", "Labeldrucker", "Z"), "[Drucker]\r\nLabeldrucker=Z\r\n");
    EXPECT_EQ(iniSetValue("x", "s", "k", "v"), "x\r\n[s]\r\nk=v\r\n");
}

TEST(IniTextWrite, WhatWouldBreakTheFileIsNotWritten) {
    EXPECT_EQ(iniSetValue("[a]\nk=1\n", "a", "k", "2\r\n[b]\r\nevil=1"), "[a]\nk=2\n");
    EXPECT_EQ(iniSetValue("[a]\n", "a]x", "k", "v"), "[a]\n");
    EXPECT_EQ(iniSetValue("[a]\n", "a", "k=v", "v"), "[a]\n");
    EXPECT_EQ(iniSetValue("[a]\n", "a", "", "v"), "[a]\n");
    EXPECT_EQ(iniSetValue("[a]\n", "a", "k\nj", "v"), "[a]\n");
}

class IniFile : public ::testing::Test {
  protected:
    void writeIni(const std::string& bytes) { world.folder.write("Halmor.ini", bytes); }
    std::string ini() const { return world.folder.read("Halmor.ini").value_or("<none>"); }
    testing::TestWorld world;
    const Services& s = world.services;
};

TEST_F(IniFile, INILesenTrimsAndCutsTo49Characters) {
    const std::string sixty = "123456789012345678901234567890123456789012345678901234567890";
    writeIni(w("[Drucker]\r\nLabeldrucker=  Büro  LP  \r\nLang=") + sixty +
             "\r\nLeer=\r\nZitat=\"  Canon \"\r\nCut=" + std::string(48, 'a') + "  b\r\n");
    EXPECT_EQ(INILesen(s, "Drucker", "Labeldrucker", ""), w("Büro  LP"));
    EXPECT_EQ(INILesen(s, "Drucker", "Lang", ""), sixty.substr(0, 49));
    EXPECT_EQ(INILesen(s, "Drucker", "Leer", "vorgabe"), "");
    EXPECT_EQ(INILesen(s, "drucker", "zitat", ""), "Canon");
    EXPECT_EQ(INILesen(s, "Drucker", "Cut", ""), std::string(48, 'a'));  // the cut ends in a blank
    EXPECT_EQ(INILesen(s, "Drucker", "Fehlt", " vorgabe "), "vorgabe");
    EXPECT_EQ(INILesen(s, "Fehlt", "Labeldrucker", ""), "");
}

TEST_F(IniFile, INILesenGivesTheDefaultWithoutAFile) {
    EXPECT_EQ(INILesen(s, "Drucker", "Labeldrucker", "x"), "x");
    world.services.iniPath.clear();
    EXPECT_EQ(INILesen(s, "Drucker", "Labeldrucker", std::string(60, 'd')), std::string(49, 'd'));
}

TEST_F(IniFile, INIZahlLesenReadsTheLeadingNumber) {
    writeIni("[w]\nB=12ab\nC=ab\nD=\nE= 1.5e2 \n");
    EXPECT_EQ(INIZahlLesen(s, "w", "B", 0), 12);
    EXPECT_EQ(INIZahlLesen(s, "w", "C", 7), 0);
    EXPECT_EQ(INIZahlLesen(s, "w", "D", 7), std::nullopt);
    EXPECT_EQ(INIZahlLesen(s, "w", "E", 0), 150);
    EXPECT_EQ(INIZahlLesen(s, "w", "missing", -3), -3);
}

TEST_F(IniFile, INISpeichernChangesTheValueInPlace) {
    const std::string before =
        w("[Allgemein]\r\nMandant=Praxis Dr. Müller\r\n[Drucker]\r\nLabeldrucker=Alt\r\n"
          "Standard=HP\r\n[Ende]\r\nx=1");
    writeIni(before);
    INISpeichern(s, "Drucker", "Labeldrucker", "Neu");
    std::string expected = before;
    expected.replace(expected.find("Alt"), 3, "Neu");
    EXPECT_EQ(ini(), expected);
    INISpeichern(s, "wdwGrafikSpeicher", w("AufrufZähler"), "1");
    EXPECT_EQ(ini(), expected + w("\r\n[wdwGrafikSpeicher]\r\nAufrufZähler=1\r\n"));
    EXPECT_EQ(INILesen(s, "WDWGRAFIKSPEICHER", w("AUFRUFZÄHLER"), ""), "1");
}

}  // namespace
}  // namespace lumaro
