#include "platform/qt/regional_qt.h"

#include <gtest/gtest.h>

#include <string>

namespace lumaro::platform {
namespace {

TEST(Regional, TheFirstVariableSetNamesALocaleOfQtsDataAndCOrUnknownMeanGerman) {
    struct Case {
        const char *all, *numeric, *lang;
        char decimal, thousands;
    } cases[] = {
        {nullptr, nullptr, nullptr, ',', '.'},
        {nullptr, nullptr, "de_AT.UTF-8", ',', '.'},
        {nullptr, nullptr, "en_GB", '.', ','},
        {nullptr, nullptr, "de_CH.UTF-8", '.', '\x92'},  // the right single quote in 1252
        {nullptr, nullptr, "fr_FR.UTF-8", ',', '\xA0'},  // a narrow no-break space 1252 lacks
        {nullptr, nullptr, "xx_YY", ',', '.'},
        {nullptr, "de_DE.UTF-8", "en_US.UTF-8", ',', '.'},
        {"en_US.UTF-8", "de_DE.UTF-8", "de_DE", '.', ','},
        {"", "en_GB.UTF-8", "de_DE", '.', ','},  // set but empty does not count
        {"C", "en_GB.UTF-8", nullptr, ',', '.'},
    };
    for (const Case& c : cases) {
        auto lookup = [&](const char* name) -> const char* {
            return std::string(name) == "LC_ALL"       ? c.all
                   : std::string(name) == "LC_NUMERIC" ? c.numeric
                                                       : c.lang;
        };
        const Regional r = regionalFromEnvironment(lookup);
        SCOPED_TRACE(std::string(c.lang ? c.lang : "-") + " " + (c.numeric ? c.numeric : "-"));
        EXPECT_EQ(r.decimal, c.decimal);
        EXPECT_EQ(r.thousands, c.thousands);
    }
}

}  // namespace
}  // namespace lumaro::platform
