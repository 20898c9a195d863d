#include "platform/rules/text_to_integer.h"

#include <gtest/gtest.h>

#include <string>

namespace homeclick::rules {
namespace {

struct conversion {
    const char* name;
    std::string gbk;
    std::int32_t expected;
};

void PrintTo(const conversion& c, std::ostream* out)
{
    *out << c.name;
}

class TextToInteger : public testing::TestWithParam<conversion> {};

TEST_P(TextToInteger, ReadsTheLeadingIntegerOfGbkText)
{
    EXPECT_EQ(text_to_integer(GetParam().gbk), GetParam().expected);
}

// Full-width forms in GBK: "＋" A3 AB, "１" A3 B1, "２" A3 B2, "－" A3 AD,
// ideographic space A1 A1.
INSTANTIATE_TEST_SUITE_P(
    Cases, TextToInteger,
    testing::Values(
        conversion{"plain", "10", 10}, conversion{"empty", "", 0}, conversion{"letters only", "abc", 0},
        conversion{"digits then letters", "42abc", 42}, conversion{"leading blanks of every kind", " \t\n\v\f\r7", 7},
        conversion{"blanks, full-width plus and digits, then letters", "  \xA3\xAB\xA3\xB1\xA3\xB2x", 12},
        conversion{"full-width minus", "\xA3\xAD\xA3\xB5", -5},
        conversion{"ideographic space is a blank",
                   "\xA1\xA1\xA1\xA1"
                   "8",
                   8},
        conversion{"blank between sign and digits", "- 5", 0}, conversion{"plus", "+15", 15},
        conversion{"minus", "-15", -15}, conversion{"two signs", "--5", 0},
        conversion{"2^32 + 10 wraps to 10", "4294967306", 10},
        conversion{"2^31 wraps to -2^31", "2147483648", INT32_MIN}, conversion{"-2^31", "-2147483648", INT32_MIN},
        conversion{"2^31 - 1", "2147483647", INT32_MAX}, conversion{"minus 2^32 + 1 wraps to -1", "-4294967297", -1},
        conversion{"twenty digits wrap bit-exactly", "99999999999999999999", 1661992959},
        conversion{"a lead byte at the end is dropped", "12\x81", 12}, conversion{"a lone lead byte", "\xA3", 0},
        conversion{"other double-byte characters stop the digits",
                   "3\xB0\xA1"
                   "4",
                   3},
        conversion{"a double-byte character whose trail looks like a digit stops",
                   "\x81\x35"
                   "7",
                   0},
        conversion{"tilde and star folds are not digits",
                   "\xA1\xAB"
                   "1",
                   0},
        conversion{"full-width digit after ASCII digits", "1\xA3\xB0", 10}),
    [](const auto& info) {
        std::string name;
        for (const char c : std::string{info.param.name}) {
            name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
        }
        return name;
    });

TEST(GbkFolding, FoldsFullWidthAsciiAndTheNamedPunctuation)
{
    EXPECT_EQ(gbk::fold_at("\xA3\xA1", 0).character, static_cast<std::uint32_t>('!'));
    EXPECT_EQ(gbk::fold_at("\xA3\xFE", 0).character, static_cast<std::uint32_t>('~'));
    EXPECT_EQ(gbk::fold_at("\xA1\xA1", 0).character, static_cast<std::uint32_t>(' '));
    EXPECT_EQ(gbk::fold_at("\xA1\xAB", 0).character, static_cast<std::uint32_t>('~'));
    EXPECT_EQ(gbk::fold_at("\xA1\xEE", 0).character, static_cast<std::uint32_t>('*'));
    EXPECT_EQ(gbk::fold_at("\xA1\xEF", 0).character, static_cast<std::uint32_t>('*'));
    EXPECT_EQ(gbk::fold_at("\xA3\xA0", 0).character, gbk::other_double_byte);
    EXPECT_EQ(gbk::fold_at("\xA1\xAC", 0).character, gbk::other_double_byte);
    EXPECT_EQ(gbk::fold_at("\xA3\xB1", 0).next, 2u);
    EXPECT_EQ(gbk::fold_at("a", 0).next, 1u);
    EXPECT_EQ(gbk::fold_at("a", 1).character, gbk::end_of_text);
}

static_assert(text_to_integer("  \xA3\xAB\xA3\xB1\xA3\xB2z") == 12, "usable at compile time");

} // namespace
} // namespace homeclick::rules
