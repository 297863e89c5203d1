#include "xml/xml_tags.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "tests/fakes/fakes.h"

namespace lumaro {
namespace {

using testing::RecordedMessages;
using testing::w;

TEST(XmlValue, FindsTheExactTagOnlyAndKeepsWhatIsBetween) {
    const struct {
        const char* text;
        const char* value;
    } cases[] = {
        {"<Beleg><Menge>2</Menge></Beleg>", "2"},
        {"<menge>2</menge>", ""},
        {"<Menge x=\"1\">2</Menge>", ""},
        {"<Menge/>", ""},
        {"<Mengen>3</Mengen><Menge>2</Menge>", "2"},
        {"<Menge>\r\n\t A&amp;B </Menge>", "\r\n\t A&amp;B "},
        {"<Menge>x<Menge>y</Menge>z</Menge>", "xy"},  // inner tags are removed
        {"</Menge>before<Menge>v</Menge>", "v"},
        {"<Menge>open but never closed", ""},
    };
    RecordedMessages messages;
    for (const auto& c : cases)
        EXPECT_EQ(XMLWertHolen(messages, c.text, "Menge"), c.value) << c.text;
    EXPECT_TRUE(messages.shown.empty());
}

TEST(XmlCut, CutsTheFirstElementAndTrimsBlanksOnly) {
    const struct {
        const char* text;
        bool keepTags, result;
        const char* content;
        const char* rest;
    } cases[] = {
        {"<a>x<a>y</a>z</a>", false, true, "x<a>y", "z</a>"},  // the first closing tag ends it
        {"x <a></a> y", false, false, "", "x  y"},  // an empty element goes but reports false
        {"<a>   </a>z", false, false, "", "z"},
        {"  \t<a>  1\t </a>\r\n  ", false, true, "1\t", "\t\r\n"},
        {" <a> 1 </a> ", true, true, "<a> 1 </a>", ""},
        {"</a>p<a>q</a>r", false, true, "q", "</a>pr"},
        // missing: the rest is the text as given, untrimmed
        {" <a>no end ", false, false, "", " <a>no end "},
        {" </a>x<a> ", false, false, "", " </a>x<a> "},
        {" <A>1</A> ", false, false, "", " <A>1</A> "},
        {"    ", false, false, "untouched", "untouched"},  // nothing to cut from
    };
    RecordedMessages messages;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        std::string content = "untouched", rest = "untouched";
        EXPECT_EQ(XMLTagAusschneiden(messages, c.text, "a", content, rest, c.keepTags), c.result);
        EXPECT_EQ(content, c.content);
        EXPECT_EQ(rest, c.rest);
    }
}

TEST(XmlCut, NameHoldingAClosingBracketIsReportedAndTreatedAsMissing) {
    RecordedMessages messages;
    std::string content = "old", rest;
    EXPECT_FALSE(XMLTagAusschneiden(messages, "<a>b>x</a>b>", "a>b", content, rest, false));
    EXPECT_EQ(content, "");
    EXPECT_EQ(rest, "<a>b>x</a>b>");
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text,
              w("Problem beim Holen von 'a>b'.\r\n\r\nEs wird ein leeres Ergebnis "
                "zurückgegeben. Bitte informieren Sie den Programmierer!"));
    EXPECT_EQ(messages.shown[0].title, "Fehler in der XML-Struktur!");
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::Stop);
    // Without its opening tag in the text there is nothing to report.
    EXPECT_EQ(XMLWertHolen(messages, "<a>x</a>", "a>b"), "");
    EXPECT_EQ(messages.shown.size(), 1u);
}

struct Step {
    std::string name;
    bool keepTags;
};

// Runs the same cuts through XmlCutter and through XMLTagAusschneiden with
// the rest fed back as the text, and demands identical results at every step.
void expectSameAsRepeatedCutting(const std::string& text, const std::vector<Step>& steps) {
    RecordedMessages cutterMessages, plainMessages;
    XmlCutter cutter(cutterMessages, text);
    std::string working = text;
    std::string cutterContent = "unset", plainContent = "unset";
    for (std::size_t i = 0; i < steps.size(); ++i) {
        const Step& s = steps[i];
        const bool plain =
            XMLTagAusschneiden(plainMessages, working, s.name, plainContent, working, s.keepTags);
        const bool fast = cutter.next(s.name, cutterContent, s.keepTags);
        ASSERT_EQ(fast, plain) << "step " << i << " of '" << text << "'";
        ASSERT_EQ(cutterContent, plainContent) << "step " << i << " of '" << text << "'";
        ASSERT_EQ(cutter.remaining(), working) << "step " << i << " of '" << text << "'";
        ASSERT_EQ(cutterMessages.shown.size(), plainMessages.shown.size()) << "step " << i;
    }
}

// Hand-picked texts first, then random ones of loose tags, bits of tags and
// whole elements, so that walks go on for several steps.
TEST(XmlCutter, GivesTheSameResultsAsRepeatedCutting) {
    const std::vector<std::pair<std::string, std::vector<Step>>> cases = {
        {"<?xml version=\"1.0\"?> <Daten><Kopf>K</Kopf> <Z>1</Z> <Z>2</Z>\r\n<Z>3</Z> </Daten> ",
         std::vector<Step>(5, {"Z", false})},
        {"<Z>a<Z>b</Z>c</Z><Z>d</Z><Z>never closed", std::vector<Step>(4, {"Z", false})},
        // Cutting "<b>x</b>" out of "<<b>x</b>b>" joins "<" and "b>" into a new "<b>".
        {"<<b>x</b>b>y</b>", std::vector<Step>(3, {"b", false})},
        // The join can also complete a tag of another name than the one just cut.
        {"p<<a>1</a>b>2</b><a>3</a>", {{"b", false}, {"a", false}, {"b", false}, {"a", false}}},
    };
    for (const auto& [text, steps] : cases)
        expectSameAsRepeatedCutting(text, steps);

    const std::vector<std::string> pieces = {
        "<a>", "</a>",     "<b>",      "</b>",     "<",       ">",        "/",
        "a",   "b",        " ",        "  ",       "x",       "\t",       "\r\n",
        "</",  "<a>1</a>", "<a>2</a>", "<b>3</b>", "<a></a>", "<b> </b>", "<>x</>"};
    const std::vector<std::string> names = {"a", "a", "a", "b", "b", "", "a>b"};
    std::mt19937 random(20261205);
    for (int round = 0; round < 3000 && !HasFatalFailure(); ++round) {
        std::string text;
        for (int i = static_cast<int>(random() % 30); i > 0; --i)
            text += pieces[random() % pieces.size()];
        std::vector<Step> steps(1 + random() % 8);
        for (Step& s : steps)
            s = {names[random() % names.size()], random() % 3 == 0};
        expectSameAsRepeatedCutting(text, steps);
    }
}

}  // namespace
}  // namespace lumaro
