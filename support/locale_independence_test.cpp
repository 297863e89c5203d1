// The GUI toolkit sets the C library's locale from the user's settings (German
// in a practice); the conversions take their separators from Regional alone.
#include <gtest/gtest.h>

#include <clocale>
#include <locale>
#include <string>

#include "support/conversions.h"
#include "support/regional.h"

namespace lumaro {
namespace {

class UnderAGermanCLocale : public ::testing::Test {
  protected:
    void SetUp() override {
        saved_ = std::setlocale(LC_ALL, nullptr);
        for (const char* name :
             {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "German_Germany.1252", "de-DE"}) {
            if (std::setlocale(LC_ALL, name) != nullptr) {
                active_ = name;
                break;
            }
        }
        if (active_.empty())
            GTEST_SKIP() << "no German locale is installed here";
        try {
            savedGlobal_ = std::locale::global(std::locale(active_.c_str()));
            restoreGlobal_ = true;
        } catch (const std::runtime_error&) {
        }
        ASSERT_EQ(*std::localeconv()->decimal_point, ',') << active_;
    }
    void TearDown() override {
        std::setlocale(LC_ALL, saved_.c_str());
        if (restoreGlobal_)
            std::locale::global(savedGlobal_);
    }

  private:
    std::string saved_, active_;
    std::locale savedGlobal_;
    bool restoreGlobal_ = false;
};

TEST_F(UnderAGermanCLocale, ReadingAndWritingTakeOnlyTheProgramsSeparators) {
    const Regional english{'.', ','};
    EXPECT_EQ(valOfText("1.5"), 1.5);
    EXPECT_EQ(valOfText("1,5"), 1);
    EXPECT_EQ(systemToDouble("1,234.5", english), 1234.5);
    EXPECT_EQ(systemToMoney("2.50", english), 25000);
    EXPECT_EQ(systemToDouble("1.234,5", Regional{}), 1234.5);
    EXPECT_EQ(formatShortest(2.5, english), "2.5");
    EXPECT_EQ(formatShortest(12.3 + 4.5, Regional{}), "16,8");
    EXPECT_EQ(formatAmount(25000, english), "2.50");
    EXPECT_EQ(formatInteger(1234567), "1234567");
}

}  // namespace
}  // namespace lumaro
