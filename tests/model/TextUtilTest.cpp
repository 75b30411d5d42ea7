// Replacing and finding text without regard to letter case, as links are converted between
// the local and the web root: left to right, the first of two overlapping occurrences wins.

#include "model/TextUtil.h"

#include <gtest/gtest.h>
#include <random>

namespace {

struct ReplaceCase
{
    const char *text;
    const char *from;
    const char *to;
    const char *expected;
};

class ReplacingIgnoringCase : public ::testing::TestWithParam<ReplaceCase>
{};

TEST_P(ReplacingIgnoringCase, replacesEveryOccurrenceLeftToRight)
{
    const ReplaceCase &c = GetParam();
    EXPECT_EQ(replacedIgnoringCase(c.text, c.from, c.to), c.expected);
    EXPECT_EQ(containsIgnoringCase(c.text, c.from),
              *c.from == '\0' || replacedIgnoringCase(c.text, c.from, "\x01") != c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ReplacingIgnoringCase,
    ::testing::Values(ReplaceCase{"abcabc", "abc", "X", "XX"},             // adjacent
                      ReplaceCase{"aaaa", "aa", "b", "bb"},                // overlapping, even
                      ReplaceCase{"aaa", "aa", "b", "ba"},                 // the first one wins
                      ReplaceCase{"xAbAbAy", "aba", "-", "x-bAy"},         // overlap and case
                      ReplaceCase{"ABab", "ab", "x", "xx"},                // case
                      ReplaceCase{"aaab", "aab", "X", "aX"},               // a partial match first
                      ReplaceCase{"abacabab", "abab", "Z", "abacZ"},       // falls back mid-match
                      ReplaceCase{"aabaab", "aab", "<aab>", "<aab><aab>"}, // no second pass
                      ReplaceCase{"C:\\SITE\\a.html", "c:\\site\\", "/", "/a.html"},
                      ReplaceCase{"\xC9T\xC9", "\xE9t", "e", "\xC9T\xC9"}, // ASCII letters only
                      ReplaceCase{"abc", "", "X", "abc"}, ReplaceCase{"ab", "abc", "X", "ab"},
                      ReplaceCase{"", "a", "b", ""}, ReplaceCase{"same", "SAME", "same", "same"}));

// The one-pass search against a comparison at every position, on texts of few letters, where
// partial and overlapping matches are everywhere.
TEST(ReplacingIgnoringCaseAtRandom, agreesWithAComparisonAtEveryPosition)
{
    const auto everywhere = [](std::string_view text, std::string_view from, std::string_view to) {
        std::string out;
        for (std::size_t i = 0; i < text.size();) {
            if (equalIgnoringCase(text.substr(i, from.size()), from)) {
                out += to;
                i += from.size();
            } else {
                out += text[i++];
            }
        }
        return out;
    };
    std::mt19937 random(7);
    const auto word = [&](std::size_t maxLength) {
        std::string text(random() % (maxLength + 1), ' ');
        for (char &c : text)
            c = "abAB"[random() % 4];
        return text;
    };
    for (int i = 0; i < 3000; ++i) {
        const std::string text = word(40);
        std::string from = word(6);
        if (from.empty())
            from = "a";
        ASSERT_EQ(replacedIgnoringCase(text, from, "<>"), everywhere(text, from, "<>"))
            << text << " / " << from;
    }
}

} // namespace
