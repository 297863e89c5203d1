#include "xml/xml_tags.h"

#include <gtest/gtest.h>

#include "tests/fakes/fakes.h"

namespace lumaro {
namespace {

using testing::RecordedMessages;
using testing::w;

struct Cut {
    bool result;
    std::string content, rest;
};

Cut cut(const std::string& text, const std::string& name, bool keepTags = false) {
    RecordedMessages messages;
    Cut c{false, "untouched", "untouched"};
    c.result = XMLTagAusschneiden(messages, text, name, c.content, c.rest, keepTags);
    return c;
}

std::string value(const std::string& text, const std::string& name) {
    RecordedMessages messages;
    return XMLWertHolen(messages, text, name);
}

TEST(XmlValue, FindsTheExactTagOnly) {
    EXPECT_EQ(value("<Beleg><Menge>2</Menge></Beleg>", "Menge"), "2");
    EXPECT_EQ(value("<menge>2</menge>", "Menge"), "");
    EXPECT_EQ(value("<Menge x=\"1\">2</Menge>", "Menge"), "");
    EXPECT_EQ(value("<Menge/>", "Menge"), "");
    EXPECT_EQ(value("<Mengen>3</Mengen><Menge>2</Menge>", "Menge"), "2");
}

TEST(XmlValue, KeepsBlanksLineBreaksAndEntities) {
    EXPECT_EQ(value("<Name> A </Name>", "Name"), " A ");
    EXPECT_EQ(value("<Name>\r\n\tA&amp;B</Name>", "Name"), "\r\n\tA&amp;B");
    EXPECT_EQ(value(w("<Name>Müller</Name>"), "Name"), w("Müller"));
}

TEST(XmlValue, FirstClosingTagEndsTheElementAndInnerTagsAreRemoved) {
    EXPECT_EQ(value("<a>x<a>y</a>z</a>", "a"), "xy");
    EXPECT_EQ(value("</a>before<a>v</a>", "a"), "v");
}

TEST(XmlValue, MissingOrBrokenElementGivesEmptyText) {
    EXPECT_EQ(value("<a>open but never closed", "a"), "");
    EXPECT_EQ(value("   ", "a"), "");
    EXPECT_EQ(value("", "a"), "");
    EXPECT_EQ(value("<b>1</b>", "a"), "");
}

TEST(XmlCut, NestedSameNameElementEndsAtFirstClosingTag) {
    const Cut c = cut("<a>x<a>y</a>z</a>", "a");
    EXPECT_TRUE(c.result);
    EXPECT_EQ(c.content, "x<a>y");
    EXPECT_EQ(c.rest, "z</a>");
}

TEST(XmlCut, WalkingRepeatedElementsWithTheRestAsWorkingText) {
    RecordedMessages messages;
    std::string text = "<b>1</b><b>2</b>";
    std::string content;
    EXPECT_TRUE(XMLTagAusschneiden(messages, text, "b", content, text, true));
    EXPECT_EQ(content, "<b>1</b>");
    EXPECT_EQ(text, "<b>2</b>");
    EXPECT_TRUE(XMLTagAusschneiden(messages, text, "b", content, text, true));
    EXPECT_EQ(content, "<b>2</b>");
    EXPECT_EQ(text, "");
    // An empty working text stops the walk and leaves both outputs alone.
    EXPECT_FALSE(XMLTagAusschneiden(messages, text, "b", content, text, true));
    EXPECT_EQ(content, "<b>2</b>");
    EXPECT_EQ(text, "");
}

TEST(XmlCut, EmptyElementIsRemovedButReportsFalse) {
    const Cut c = cut("x <k></k> y", "k");
    EXPECT_FALSE(c.result);
    EXPECT_EQ(c.content, "");
    EXPECT_EQ(c.rest, "x  y");
    const Cut blanks = cut("<k>   </k>z", "k");
    EXPECT_FALSE(blanks.result);
    EXPECT_EQ(blanks.rest, "z");
}

TEST(XmlCut, TrimsBlanksOnlyNotTabsOrLineBreaks) {
    const Cut c = cut("  \t<a>  1\t </a>\r\n  ", "a");
    EXPECT_TRUE(c.result);
    EXPECT_EQ(c.content, "1\t");
    EXPECT_EQ(c.rest, "\t\r\n");
    const Cut kept = cut(" <a> 1 </a> ", "a", true);
    EXPECT_EQ(kept.content, "<a> 1 </a>");
    EXPECT_EQ(kept.rest, "");
}

TEST(XmlCut, MissingElementLeavesTheTextWholeAsRest) {
    for (const std::string text : {" <a>no end ", " </a>x<a> ", " <A>1</A> "}) {
        const Cut c = cut(text, "a");
        EXPECT_FALSE(c.result) << text;
        EXPECT_EQ(c.content, "") << text;
        EXPECT_EQ(c.rest, text) << "untrimmed, as given";
    }
    const Cut blank = cut("    ", "a");
    EXPECT_FALSE(blank.result);
    EXPECT_EQ(blank.content, "untouched");
    EXPECT_EQ(blank.rest, "untouched");
}

TEST(XmlCut, ClosingTagBeforeTheOpeningOneIsIgnored) {
    const Cut c = cut("</a>p<a>q</a>r", "a");
    EXPECT_TRUE(c.result);
    EXPECT_EQ(c.content, "q");
    EXPECT_EQ(c.rest, "</a>pr");
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
