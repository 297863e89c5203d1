#include "support/conversions.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

#include "support/codepage.h"
#include "support/errors.h"
#include "support/regional.h"
#include "tests/fakes/fakes.h"

namespace lumaro {
namespace {

using testing::errorOf;
using testing::w;

const Regional kGerman{',', '.'};
const Regional kEnglish{'.', ','};

TEST(ValOfText, ReadsTheLeadingNumberWithAPointAndNeverHangsOnHugeOnes) {
    EXPECT_EQ(valOfText("12abc"), 12);
    EXPECT_EQ(valOfText("abc"), 0);
    EXPECT_EQ(valOfText("  -3.25xyz"), -3.25);
    EXPECT_EQ(valOfText("12,5"), 12);    // a comma ends the number
    EXPECT_EQ(valOfText("1 2 3"), 123);  // blanks do not count anywhere
    EXPECT_EQ(valOfText("2D2"), 200);
    EXPECT_EQ(valOfText("5e+x"), 5);  // an exponent without digits is not read
    EXPECT_EQ(errorOf([] { valOfText(std::string(1000, '9')); }), err::kOverflow);
    EXPECT_EQ(errorOf([] { valOfText("1e99999999999999999999999"); }), err::kOverflow);
    EXPECT_EQ(valOfText("1e-400"), 0);
    EXPECT_EQ(valOfText(std::string(1000, '0') + "42"), 42);
}

TEST(SystemToDouble, FollowsTheRegionalSeparatorsAndRefusesAnythingElse) {
    EXPECT_EQ(systemToDouble("1.234,5", kGerman), 1234.5);
    EXPECT_EQ(systemToDouble("1.2.3", kGerman), 123);  // grouping is not checked
    EXPECT_EQ(systemToDouble("7-", kGerman), -7);
    EXPECT_EQ(systemToDouble(",5", kGerman), 0.5);
    EXPECT_EQ(systemToDouble("1,5E2", kGerman), 150);
    EXPECT_EQ(systemToDouble("1,234.5", kEnglish), 1234.5);
    EXPECT_DOUBLE_EQ(systemToDouble("0,1", kGerman), 0.1);
    for (const char* bad : {"", "   ", "-", ",", "-,", "abc", "12a", "1,2,3", "--5", "-5-", "1e",
                            "1e+", ".5", "1 234", "(5)", "12,5 EUR", "1,2.3"}) {
        EXPECT_EQ(errorOf([&] { systemToDouble(bad, kGerman); }), err::kTypeMismatch) << bad;
    }
    EXPECT_EQ(errorOf([] { systemToDouble("12,5", kEnglish); }), 0);  // grouping there
    EXPECT_EQ(errorOf([] { systemToDouble(std::string(1000, '1'), kGerman); }), err::kOverflow);
}

TEST(SystemToMoney, IsExactToTheFourthDecimalRoundsHalfEvenBeyondAndKnowsItsRange) {
    EXPECT_EQ(systemToMoney("1234,5678", kGerman), 12345678);
    EXPECT_EQ(systemToMoney("1,00005", kGerman), 10000);
    EXPECT_EQ(systemToMoney("1,00015", kGerman), 10002);
    EXPECT_EQ(systemToMoney("-1,00015", kGerman), -10002);
    EXPECT_EQ(systemToMoney("0,00006", kGerman), 1);
    EXPECT_EQ(systemToMoney("922337203685477,5807", kGerman), INT64_MAX);
    EXPECT_EQ(systemToMoney("-922337203685477,5808", kGerman), INT64_MIN);
    EXPECT_EQ(errorOf([] { systemToMoney("922337203685477,5808", kGerman); }), err::kOverflow);
    EXPECT_EQ(errorOf([] { systemToMoney(std::string(1000, '7'), kGerman); }), err::kOverflow);
    EXPECT_EQ(errorOf([] { systemToMoney("1e30", kGerman); }), err::kOverflow);
    EXPECT_EQ(systemToMoney("1e-30", kGerman), 0);
}

TEST(Rounding, HalvesGoToTheEvenNeighbourAndWholeNumbersOverflowPastTheirRange) {
    EXPECT_EQ(roundHalfEven(1.5), 2);
    EXPECT_EQ(roundHalfEven(2.5), 2);
    EXPECT_EQ(roundHalfEven(-2.5), -2);
    EXPECT_EQ(roundHalfEven(-3.5), -4);
    EXPECT_EQ(roundHalfEven(2.5000001), 3);
    EXPECT_EQ(toInt16(32767.4), 32767);
    EXPECT_EQ(toInt16(-32768.5), -32768);  // the even neighbour is in range
    EXPECT_EQ(errorOf([] { toInt16(32767.5); }), err::kOverflow);
    EXPECT_EQ(errorOf([] { toInt16(-32769); }), err::kOverflow);
    EXPECT_EQ(toInt32(2147483647.0), 2147483647);
    EXPECT_EQ(errorOf([] { toInt32(2147483647.5); }), err::kOverflow);
    EXPECT_EQ(errorOf([] { toInt32(-2147483649.0); }), err::kOverflow);
    EXPECT_EQ(errorOf([] { toInt32(std::numeric_limits<double>::quiet_NaN()); }), err::kOverflow);
}

TEST(GanzzahlLesen, TakesDigitsUntilTheFirstOtherCharacterAndOverflowsAt32Bits) {
    EXPECT_EQ(GanzzahlLesen("1.234", kGerman), 1234);
    EXPECT_EQ(GanzzahlLesen("12,7", kGerman), 12);
    EXPECT_EQ(GanzzahlLesen("5-", kGerman), -5);
    EXPECT_EQ(GanzzahlLesen("42 mm", kGerman), 42);  // the blank ends the scan
    EXPECT_EQ(GanzzahlLesen("1,234", kEnglish), 1234);
    EXPECT_EQ(GanzzahlLesen("2147483647", kGerman), 2147483647);
    EXPECT_EQ(GanzzahlLesen(std::string(1000, '0'), kGerman), 0);
    for (const std::string big : {"2147483648", "-2147483648", "99999999999"})
        EXPECT_EQ(errorOf([&] { GanzzahlLesen(big, kGerman); }), err::kOverflow) << big;
    EXPECT_EQ(errorOf([] { GanzzahlLesen(std::string(1000, '9'), kGerman); }), err::kOverflow);
}

TEST(ZahlLesen, TheFirstSeparatorOfEitherKindIsTheDecimalOneAndWordsHaveFixedValues) {
    EXPECT_EQ(ZahlLesen("12.5", kGerman), 12.5);
    EXPECT_DOUBLE_EQ(ZahlLesen("1.234,5", kGerman), 1.2345);
    EXPECT_EQ(ZahlLesen("3-4", kGerman), 34);
    EXPECT_DOUBLE_EQ(ZahlLesen("2,5 ml", kGerman), 2.5);
    EXPECT_EQ(ZahlLesen(" true ", kGerman), -1);
    EXPECT_EQ(ZahlLesen("False", kGerman), 0);
    EXPECT_EQ(ZahlLesen("-", kGerman), 0);
    EXPECT_EQ(ZahlLesen(".", kGerman), 0);  // becomes a lone separator
    EXPECT_EQ(errorOf([] { ZahlLesen("-.", kGerman); }), err::kTypeMismatch);
    EXPECT_EQ(errorOf([] { ZahlLesen(std::string(1000, '9'), kGerman); }), err::kOverflow);
}

TEST(TextZuBetrag, CurrencyMarksGoAndTheRightmostSeparatorIsTheDecimalOne) {
    EXPECT_EQ(TextZuBetrag("1.234,50 S", kGerman), 12345000);
    EXPECT_EQ(TextZuBetrag("SFr 12.50", kGerman), 125000);
    EXPECT_EQ(TextZuBetrag(w("7,25 €"), kGerman), 72500);
    EXPECT_EQ(TextZuBetrag("12,50 EUR", kGerman), 12500000);
    EXPECT_EQ(TextZuBetrag("1,234.56", kGerman), 12345600);
    EXPECT_EQ(TextZuBetrag("12,50-", kGerman), -125000);
    EXPECT_EQ(TextZuBetrag("0,00005", kGerman), 0);
    EXPECT_EQ(TextZuBetrag("EUR", kGerman), 0);  // only a separator is left
    EXPECT_EQ(TextZuBetrag("1.234,50", kEnglish), 12345000);
    for (const char* bad : {"--12", "1-2", "-"})
        EXPECT_EQ(errorOf([&] { TextZuBetrag(bad, kGerman); }), err::kTypeMismatch) << bad;
    EXPECT_EQ(errorOf([] { TextZuBetrag(std::string(1000, '5'), kGerman); }), err::kOverflow);
    EXPECT_EQ(errorOf([] { TextZuBetrag("1000000000000000", kGerman); }), err::kOverflow);
}

TEST(NullFilter, EmptyValuesGetTheirTypesDefaultOthersAreConvertedUnknownTypesAreReported) {
    testing::TestWorld world;
    auto filter = [&](const std::optional<std::string>& v, const std::string& type) {
        return NullFilter(world.services, v, type);
    };
    for (const char* type : {"Integer", "Long", "Double", "Currency", "Single"}) {
        EXPECT_EQ(filter(std::nullopt, type), NullValue(std::int16_t{0})) << type;
        EXPECT_EQ(filter("  ", type), NullValue(std::int16_t{0})) << type;
    }
    EXPECT_EQ(filter(std::nullopt, "String"), NullValue(std::string{}));
    EXPECT_EQ(filter("", "String+"), NullValue(std::string(" ")));
    EXPECT_EQ(filter(std::nullopt, "Boolean"), NullValue(false));
    EXPECT_EQ(filter("2,5", "Integer"), NullValue(std::int16_t{2}));
    EXPECT_EQ(filter("3,5", "Integer"), NullValue(std::int16_t{4}));
    EXPECT_EQ(filter("70000", "Long"), NullValue(std::int32_t{70000}));
    EXPECT_EQ(filter("1.234,5", "Double"), NullValue(1234.5));
    EXPECT_EQ(filter("12,34", "Currency"), NullValue(Money{123400}));
    EXPECT_EQ(filter("0,5", "Single"), NullValue(0.5f));
    EXPECT_EQ(filter(" a ", "String+"), NullValue(std::string(" a ")));
    EXPECT_EQ(filter("-1", "Boolean"), NullValue(true));
    EXPECT_EQ(filter("False", "Boolean"), NullValue(false));
    EXPECT_TRUE(world.messages.shown.empty());
    EXPECT_EQ(errorOf([&] { filter("abc", "Integer"); }), err::kTypeMismatch);
    EXPECT_EQ(errorOf([&] { filter("40000", "Integer"); }), err::kOverflow);
    EXPECT_EQ(errorOf([&] { filter("1e39", "Single"); }), err::kOverflow);
    EXPECT_EQ(errorOf([&] { filter("ja", "Boolean"); }), err::kTypeMismatch);

    EXPECT_EQ(filter("5", "Text"), NullValue());
    EXPECT_EQ(filter(std::nullopt, "integer"), NullValue());  // names are case-sensitive
    ASSERT_EQ(world.messages.shown.size(), 2u);
    EXPECT_EQ(world.messages.shown[0].text, w("NullFilter enthält einen falschen Wert"));
    EXPECT_EQ(world.messages.shown[0].title, "Text");
    EXPECT_EQ(world.messages.shown[0].icon, MessageIcon::Information);
    EXPECT_EQ(world.messages.shown[1].title, "integer");
}

TEST(FormatAmount, ShowsTwoDecimalsRoundedHalfAwayFromZeroOverTheWholeRange) {
    EXPECT_EQ(formatAmount(12345000, kGerman), "1234,50");  // no grouping
    EXPECT_EQ(formatAmount(150, kGerman), "0,02");
    EXPECT_EQ(formatAmount(250, kGerman), "0,03");  // not to the even neighbour
    EXPECT_EQ(formatAmount(9950, kGerman), "1,00");
    EXPECT_EQ(formatAmount(-250, kGerman), "-0,03");
    EXPECT_EQ(formatAmount(std::numeric_limits<std::int64_t>::max(), kGerman),
              "922337203685477,58");
    EXPECT_EQ(formatAmount(std::numeric_limits<std::int64_t>::min(), kGerman),
              "-922337203685477,58");
}

TEST(FormatShortest, WritesTheDecimalValueWithNoMoreDigitsThanItNeeds) {
    EXPECT_EQ(formatShortest(-13.75, kGerman), "-13,75");
    EXPECT_EQ(formatShortest(-0.0, kGerman), "0");
    EXPECT_EQ(formatShortest(12.3 + 4.5, kGerman), "16,8");  // binary noise
    EXPECT_EQ(formatShortest(1.0 / 3.0, kGerman), "0,333333333333333");
    // only extreme values use an exponent
    EXPECT_EQ(formatShortest(123456789012345.0, kGerman), "123456789012345");
    EXPECT_EQ(formatShortest(1e15, kGerman), "1E+15");
    EXPECT_EQ(formatShortest(0.0001, kGerman), "0,0001");
    EXPECT_EQ(formatShortest(1.5e-7, kGerman), "1,5E-07");
}

TEST(Codepage, EveryByteSurvivesTheRoundTripAndWhatTheCodePageLacksBecomesAQuestionMark) {
    EXPECT_EQ(fromUtf8("für €"), std::string("f\xFCr \x80"));
    std::string all;
    for (int b = 1; b < 256; ++b)
        all += static_cast<char>(b);
    EXPECT_EQ(fromUtf8(toUtf8(all)), all);
    EXPECT_EQ(fromUtf8("α"), "?");
    EXPECT_EQ(fromUtf8("a\xC3"), "a?");  // cut-off sequence
    EXPECT_EQ(fromUtf8("\xFF"
                       "b"),
              "?b");                        // no UTF-8 lead byte
    EXPECT_EQ(fromUtf8("\xC3\x28"), "?(");  // bad continuation byte
}

}  // namespace
}  // namespace lumaro
