#include "documents/insemination/certificate_data.h"

#include <gtest/gtest.h>

#include <random>
#include <sstream>

#include "tests/fakes/fakes.h"
#include "xml/xml_tags.h"

namespace lumaro::testing {
namespace {

TEST(CertificateDataTest, ValuesInsideEntriesAlreadyTakenAreNoLongerFound) {
    RecordedMessages m;
    CertificateData data(m,
                         "<FormularDaten><Hofname>Alt</Hofname></FormularDaten>"
                         "<Hofname>Neu</Hofname><FormularDaten>b</FormularDaten>");
    EXPECT_EQ(data.value("Hofname"), "Alt");
    std::string entry;
    ASSERT_TRUE(data.nextEntry(entry));
    EXPECT_EQ(entry, "<FormularDaten><Hofname>Alt</Hofname></FormularDaten>");
    EXPECT_EQ(data.value("Hofname"), "Neu");
    ASSERT_TRUE(data.nextEntry(entry));
    EXPECT_EQ(entry, "<FormularDaten>b</FormularDaten>");
    EXPECT_EQ(data.value("Hofname"), "Neu");
    EXPECT_FALSE(data.nextEntry(entry));
}

// Cutting with XMLTagAusschneiden and looking values up in what remains is
// what the lookups must equal, whatever the text: random texts built from
// tags, fragments of tags that a cut can glue together, and filler.
TEST(CertificateDataTest, LookupsEqualSearchingTheRemainingText) {
    std::vector<std::string> tokens;
    std::istringstream list(
        "<FormularDaten>|</FormularDaten>|<Hofname>|</Hofname>|<Datum>|</Datum>|x|yz| |  |\r\n|"
        "<Hof|name>|</Hof|<Formular|Daten>|<|>|<Wortlaut></Wortlaut>");
    for (std::string token; std::getline(list, token, '|');)
        tokens.push_back(token);
    std::mt19937 random(20261205);
    std::uniform_int_distribution<std::size_t> pick(0, tokens.size() - 1);
    std::uniform_int_distribution<int> length(0, 40);
    int cutsChecked = 0;
    for (int round = 0; round < 3000; ++round) {
        std::string text;
        for (int n = length(random); n > 0; --n)
            text += tokens[pick(random)];
        RecordedMessages m;
        CertificateData data(m, text);
        std::string rest = text, expected, entry;
        for (int step = 0;; ++step) {
            for (const char* name : {"Hofname", "Datum"})
                ASSERT_EQ(data.value(name), XMLWertHolen(m, rest, name))
                    << "text: " << text << "\nafter cuts: " << step << "\nname: " << name;
            const bool more = XMLTagAusschneiden(m, rest, "FormularDaten", expected, rest, true);
            ASSERT_EQ(data.nextEntry(entry), more) << text;
            if (!more)
                break;
            ASSERT_EQ(entry, expected) << text;
            ++cutsChecked;
        }
    }
    EXPECT_GT(cutsChecked, 1000);
}

}  // namespace
}  // namespace lumaro::testing
