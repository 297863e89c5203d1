#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "tests/fakes/fakes.h"
#include "xml/xml_tags.h"

namespace lumaro {
namespace {

using testing::RecordedMessages;

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

std::vector<Step> repeat(const std::string& name, int times, bool keepTags = false) {
    return std::vector<Step>(static_cast<std::size_t>(times), Step{name, keepTags});
}

TEST(XmlCutter, HandPickedTextsGiveTheSameResultsAsRepeatedCutting) {
    const std::vector<std::pair<std::string, std::vector<Step>>> cases = {
        {"<?xml version=\"1.0\"?> <Daten><Kopf>K</Kopf> <Z>1</Z> <Z>2</Z>\r\n<Z>3</Z> </Daten> ",
         repeat("Z", 5)},
        {"  lead <Z>1</Z>   <Z>2</Z>  ", repeat("Z", 4, true)},
        {"<Z></Z><Z> </Z><Z>x</Z>", repeat("Z", 4)},
        {"<Z>a<Z>b</Z>c</Z><Z>d</Z>", repeat("Z", 4)},
        {"<Z>1</Z><Z>never closed", repeat("Z", 3)},
        // Cutting "<b>x</b>" out of "<<b>x</b>b>" joins "<" and "b>" into a new "<b>".
        {"<<b>x</b>b>y</b>", repeat("b", 3)},
        {"<a>1</a><<a>2</a>a>3</a>z", repeat("a", 4)},
        // The join can also complete a tag of another name than the one just cut.
        {"p<<a>1</a>b>2</b><a>3</a>", {{"b", false}, {"a", false}, {"b", false}, {"a", false}}},
        {"<a>1</a><a>2</a><b>x</b><a>3</a><b>y</b><b>z</b>",
         {{"b", false}, {"a", true}, {"b", false}, {"b", false}, {"a", false}, {"a", false}}},
        {"<a>b>1</a>b><a>2</a>", {{"a>b", false}, {"a", false}}},
    };
    for (const auto& [text, steps] : cases)
        expectSameAsRepeatedCutting(text, steps);
}

TEST(XmlCutter, RandomTextsGiveTheSameResultsAsRepeatedCutting) {
    // Loose tags and bits of tags, and whole elements so that walks go on
    // for several steps.
    const std::vector<std::string> pieces = {
        "<a>",      "</a>",     "<b>",      "</b>",    "<",        ">",     "/",
        "a",        "b",        " ",        "  ",      "x",        "\t",    "</",
        "<a>1</a>", "<a>2</a>", "<b>3</b>", "<a></a>", "<b> </b>", "<>x</>"};
    const std::vector<std::string> names = {"a", "a", "a", "b", "b", "", "a>b"};
    std::mt19937 random(20261205);
    for (int round = 0; round < 3000; ++round) {
        std::string text;
        const int length = static_cast<int>(random() % 30);
        for (int i = 0; i < length; ++i)
            text += pieces[random() % pieces.size()];
        std::vector<Step> steps;
        const int count = 1 + static_cast<int>(random() % 8);
        for (int i = 0; i < count; ++i)
            steps.push_back({names[random() % names.size()], random() % 3 == 0});
        expectSameAsRepeatedCutting(text, steps);
        if (HasFatalFailure())
            return;
    }
}

TEST(XmlCutter, ManyRecordsLeaveTheRightRest) {
    std::string text = "<Daten>", breaks;
    for (int i = 0; i < 1000; ++i)
        text += "<Zettel><Nr>" + std::to_string(i) + "</Nr></Zettel>\r\n", breaks += "\r\n";
    RecordedMessages messages;
    XmlCutter cutter(messages, text + "</Daten>");
    std::string content;
    for (int i = 0; i < 1000; ++i) {
        ASSERT_TRUE(cutter.next("Zettel", content, false));
        ASSERT_EQ(XMLWertHolen(messages, content, "Nr"), std::to_string(i));
    }
    EXPECT_FALSE(cutter.next("Zettel", content, false));
    // Only blanks are trimmed: the line breaks between the records stay.
    EXPECT_EQ(cutter.remaining(), "<Daten>" + breaks + "</Daten>");
}

}  // namespace
}  // namespace lumaro
