// Separators from Windows' own locale data, named as the automation contract
// names locales; C, POSIX and unknown names mean German.
#include "platform/win32/regional_win32.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace lumaro::platform {
namespace {

::testing::AssertionResult is(const Regional& r, char decimal, char thousands) {
    if (r.decimal == decimal && r.thousands == thousands)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "got '" << r.decimal << "' and '" << r.thousands << "' (0x" << std::hex
           << (static_cast<unsigned>(r.thousands) & 0xFF) << ")";
}

TEST(RegionalFromLocaleName, FollowsWindowsLocaleDataAndCOrUnknownMeanGerman) {
    EXPECT_TRUE(is(regionalFromLocaleName("de_DE.UTF-8"), ',', '.'));
    EXPECT_TRUE(is(regionalFromLocaleName("de-AT"), ',', '.'));
    EXPECT_TRUE(is(regionalFromLocaleName("en_GB"), '.', ','));
    // Swiss German groups with the right single quote, 0x92 in the code page.
    EXPECT_TRUE(is(regionalFromLocaleName("de_CH.UTF-8@euro"), '.', '\x92'));
    // French groups with a narrow or plain no-break space: the code page's
    // no-break space.
    EXPECT_TRUE(is(regionalFromLocaleName("fr_FR.UTF-8"), ',', '\xA0'));
    for (const char* name : {"", "C", "POSIX", "C.UTF-8", "xx_YY"})
        EXPECT_TRUE(is(regionalFromLocaleName(name), ',', '.')) << name;
}

TEST(RegionalFromEnvironment, TakesTheFirstVariableThatIsSet) {
    std::map<std::string, std::string> env;
    auto lookup = [&](const char* name) {
        auto it = env.find(name);
        return it == env.end() ? std::string() : it->second;
    };
    env["LANG"] = "en_US.UTF-8";
    EXPECT_TRUE(is(regionalFromEnvironment(lookup), '.', ','));
    env["LC_NUMERIC"] = "de_DE.UTF-8";
    EXPECT_TRUE(is(regionalFromEnvironment(lookup), ',', '.'));
    env["LC_ALL"] = "en_US.UTF-8";
    EXPECT_TRUE(is(regionalFromEnvironment(lookup), '.', ','));
    env["LC_ALL"] = "";  // set but empty does not count
    env["LC_NUMERIC"] = "en_GB.UTF-8";
    EXPECT_TRUE(is(regionalFromEnvironment(lookup), '.', ','));
    env["LC_ALL"] = "C";
    EXPECT_TRUE(is(regionalFromEnvironment(lookup), ',', '.'));
}

}  // namespace
}  // namespace lumaro::platform
