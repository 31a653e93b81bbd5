#include "search/wildcard.h"

#include <gtest/gtest.h>

#include <string>

namespace kelvara {
namespace {

std::atomic<int32_t> g_busy{1};

struct MatchCase {
    const char16_t* name;
    const char16_t* pattern;  // as given to the matcher (already made a search pattern)
    bool expected;
};

class MatchWildcardTable : public ::testing::TestWithParam<MatchCase> {};

TEST_P(MatchWildcardTable, MatchesWholeNameAgainstWholePattern) {
    const MatchCase& c = GetParam();
    EXPECT_EQ(MatchWildcard(c.name, c.pattern, g_busy), c.expected)
        << ::testing::PrintToString(std::u16string(c.name)) << " against "
        << ::testing::PrintToString(std::u16string(c.pattern));
}

INSTANTIATE_TEST_SUITE_P(
    SearchEdgeCases, MatchWildcardTable,
    ::testing::Values(
        // A typed "report" is searched as *report*, with exactly that letter case.
        MatchCase{u"annual report.doc", u"*report*", true}, MatchCase{u"report", u"*report*", true},
        MatchCase{u"Report.doc", u"*report*", false},
        // *.* needs a dot somewhere.
        MatchCase{u"a.txt", u"*.*", true}, MatchCase{u".", u"*.*", true},
        MatchCase{u"README", u"*.*", false},
        // ?a*: the second character is a.
        MatchCase{u"bat", u"?a*", true}, MatchCase{u"ab", u"?a*", false},
        MatchCase{u"a", u"?a*", false},
        // a?c is searched as *a?c*.
        MatchCase{u"xabcx", u"*a?c*", true}, MatchCase{u"ac", u"*a?c*", false},
        // * matches everything, the empty name too; other patterns never match an empty name.
        MatchCase{u"", u"*", true}, MatchCase{u"anything", u"*", true}, MatchCase{u"", u"?", false},
        MatchCase{u"", u"*?*", false}, MatchCase{u"", u"**", true},
        // Backtracking to the last star only.
        MatchCase{u"aab", u"*ab", true}, MatchCase{u"abxbc", u"a*b*c", true},
        MatchCase{u"abxbd", u"a*b*c", false}, MatchCase{u"mississippi", u"*iss*ppi", true},
        MatchCase{u"mississippi", u"m*issi*ssippi", true}, MatchCase{u"abcabd", u"*abd", true},
        MatchCase{u"abcab", u"*abd", false},
        // Trailing and repeated stars.
        MatchCase{u"abc", u"abc**", true}, MatchCase{u"abc", u"a**c", true},
        // Without a star the lengths must agree.
        MatchCase{u"abc", u"abc", true}, MatchCase{u"abcd", u"abc", false},
        MatchCase{u"ab", u"abc", false}, MatchCase{u"abc", u"a?c", true},
        MatchCase{u"abc", u"???", true}, MatchCase{u"abc", u"????", false},
        // Code units, not characters: a surrogate pair takes two "?".
        MatchCase{u"\U0001F600", u"?", false}, MatchCase{u"\U0001F600", u"??", true},
        MatchCase{u"\u00C4rger.txt", u"*\u00E4*", false},
        MatchCase{u"\u00C4rger.txt", u"\u00C4*", true}));

TEST(MatchWildcard, ClearedBusyFlagEndsWithoutAMatch) {
    std::atomic<int32_t> stopped{0};
    // Each of these matches while the flag is set.
    EXPECT_FALSE(MatchWildcard(u"abc", u"abc", stopped));
    EXPECT_FALSE(MatchWildcard(u"xabcx", u"*abc*", stopped));
    EXPECT_FALSE(MatchWildcard(std::u16string(1'000'000, u'a') + u"b", u"*a*b", stopped));
    // What was consumed before the stop decides: a lone star has nothing left to match.
    EXPECT_TRUE(MatchWildcard(u"abc", u"*", stopped));
    EXPECT_TRUE(MatchWildcard(u"abc", u"abc", g_busy));
}

struct PatternCase {
    const char16_t* typed;
    const char16_t* expected;
};

TEST(MakeSearchPattern, TrimsAndMakesSubstringSearches) {
    const PatternCase cases[] = {
        {u"report", u"*report*"}, {u" a?c\t", u"*a?c*"},        {u"?", u"*?*"}, {u"*.*", u"*.*"},
        {u"a*", u"a*"},           {u"\r\n *.doc \n", u"*.doc"}, {u"   ", u""},  {u"", u""},
        {u"a b", u"*a b*"},
    };
    for (const PatternCase& c : cases) {
        EXPECT_EQ(MakeSearchPattern(c.typed), std::u16string(c.expected))
            << ::testing::PrintToString(std::u16string(c.typed));
    }
}

}  // namespace
}  // namespace kelvara
