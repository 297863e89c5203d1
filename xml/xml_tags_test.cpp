#include "xml/xml_tags.h"

#include <gtest/gtest.h>

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

TEST(XmlCut, WalkingRepeatedElementsWithTheRestAsWorkingText) {
    RecordedMessages messages;
    std::string text = "<b>1</b><b>2</b>";
    std::string content;
    EXPECT_TRUE(XMLTagAusschneiden(messages, text, "b", content, text, true));
    EXPECT_TRUE(XMLTagAusschneiden(messages, text, "b", content, text, true));
    EXPECT_EQ(content, "<b>2</b>");
    EXPECT_EQ(text, "");
    // An empty working text stops the walk and leaves both outputs alone.
    EXPECT_FALSE(XMLTagAusschneiden(messages, text, "b", content, text, true));
    EXPECT_EQ(content, "<b>2</b>");
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

    EXPECT_EQ(XMLWertHolen(messages, "<a>b>x</a>b>", "a>b"), "");
    EXPECT_EQ(messages.shown.size(), 2u);
    // Without its opening tag in the text there is nothing to report.
    EXPECT_EQ(XMLWertHolen(messages, "<a>x</a>", "a>b"), "");
    EXPECT_EQ(messages.shown.size(), 2u);
}

}  // namespace
}  // namespace lumaro
