// Separators from Windows' own locale data for the locale names of the automation contract.
#include "platform/win32/regional_win32.h"

#include <gtest/gtest.h>

#include <string>

namespace lumaro::platform {
namespace {

TEST(Regional, TheFirstVariableSetNamesALocaleOfWindowsDataAndCOrUnknownMeanGerman) {
    struct Case {
        std::string all, numeric, lang;  // empty: not set (the user's own settings then)
        char decimal, thousands;
    } cases[] = {
        {"", "", "de-AT", ',', '.'},
        {"", "", "en_GB", '.', ','},
        {"", "", "de_CH.UTF-8@euro", '.', '\x92'},  // the right single quote in 1252
        {"", "", "fr_FR.UTF-8", ',', '\xA0'},       // narrow or plain: the no-break space
        {"", "", "xx_YY", ',', '.'},
        {"", "de_DE.UTF-8", "en_US.UTF-8", ',', '.'},
        {"en_US.UTF-8", "de_DE.UTF-8", "de_DE", '.', ','},
        {"", "en_GB.UTF-8", "de_DE", '.', ','},
        {"C", "en_GB.UTF-8", "", ',', '.'},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.all + " " + c.numeric + " " + c.lang);
        const Regional r = regionalFromEnvironment([&](const char* name) {
            return std::string(name) == "LC_ALL"       ? c.all
                   : std::string(name) == "LC_NUMERIC" ? c.numeric
                                                       : c.lang;
        });
        EXPECT_EQ(r.decimal, c.decimal);
        EXPECT_EQ(r.thousands, c.thousands);
    }
}

}  // namespace
}  // namespace lumaro::platform
