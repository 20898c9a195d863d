#include "platform/rules/integer_input.h"

#include <gtest/gtest.h>

#include <string>

namespace homeclick::rules {
namespace {

// What the box shows after it loses the focus.
std::u16string normalised(std::u16string_view text)
{
    const std::int32_t value = leading_integer_clamped(text);
    std::u16string out(normalised_length(value), u'?');
    write_normalised(value, out.data());
    return out;
}

struct normalisation {
    std::u16string before;
    std::u16string after;
};

class Normalisation : public testing::TestWithParam<normalisation> {};

TEST_P(Normalisation, LeavesThePlainIntegerTheTextStartsWith)
{
    const auto& [before, after] = GetParam();
    EXPECT_EQ(normalised(before), after);
    EXPECT_TRUE(equals_normalised(std::u16string_view{after}, leading_integer_clamped(std::u16string_view{before})));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Normalisation,
    testing::Values(normalisation{u"007", u"7"}, normalisation{u"0", u""}, normalisation{u"-0", u""},
                    normalisation{u"-", u""}, normalisation{u"12-3", u"12"}, normalisation{u"--5", u""},
                    normalisation{u"2147483648", u"2147483647"}, normalisation{u"-2147483649", u"-2147483648"},
                    normalisation{u"-2147483648", u"-2147483648"}, normalisation{u"2147483647", u"2147483647"},
                    normalisation{u"99999999999999999999999999", u"2147483647"},
                    normalisation{u"-99999999999999999999999999", u"-2147483648"},
                    normalisation{u"9223372036854775808", u"2147483647"}, normalisation{u"", u""},
                    normalisation{u"10", u"10"}, normalisation{u"abc", u""}, normalisation{u"  +42x", u"42"},
                    normalisation{u"\t-8", u"-8"}, normalisation{u"- 8", u""},
                    // Full-width digits are not digits here: only typing's ASCII set is.
                    normalisation{u"\uFF11\uFF12", u""}));

TEST(Normalisation, AlreadyNormalTextNeedsNoRewrite)
{
    for (const std::u16string_view text : {u"10", u"-5", u"", u"2147483647", u"-2147483648"}) {
        EXPECT_TRUE(equals_normalised(text, leading_integer_clamped(text))) << std::string(text.begin(), text.end());
    }
    for (const std::u16string_view text : {u"010", u"+5", u"0", u"-0", u"5 ", u" 5"}) {
        EXPECT_FALSE(equals_normalised(text, leading_integer_clamped(text))) << std::string(text.begin(), text.end());
    }
}

TEST(Normalisation, WorksOnWideCharactersOfEitherWidth)
{
    EXPECT_EQ(leading_integer_clamped(std::wstring_view{L" -123abc"}), -123);
    EXPECT_EQ(leading_integer_clamped(std::string_view{"77"}), 77);
    // A character whose low 16 bits are a digit is still not one.
    EXPECT_EQ(leading_integer_clamped(std::u32string_view{U"\U00010031"}), 0);
}

TEST(CaretAfterNormalising, StaysWhereTheSelectionStartedUnlessTheTextIsShorter)
{
    EXPECT_EQ(caret_after_normalising(0, 2), 0u);
    EXPECT_EQ(caret_after_normalising(1, 2), 1u);
    EXPECT_EQ(caret_after_normalising(2, 2), 2u);
    EXPECT_EQ(caret_after_normalising(3, 1), 1u);
    EXPECT_EQ(caret_after_normalising(5, 0), 0u);
}

TEST(TypedCharacters, OnlyDigitsMinusAndControlCodesGetThrough)
{
    for (std::uint32_t c = 0; c < 0x110; ++c) {
        const bool expected = c < 32 || (c >= '0' && c <= '9') || c == '-';
        EXPECT_EQ(accepts_typed_character(c), expected) << c;
    }
    EXPECT_FALSE(accepts_typed_character(0xFF11)); // full-width 1
}

} // namespace
} // namespace homeclick::rules
