#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/mtf.h"

namespace kelvara {
namespace {

const uint8_t* Bytes(const char* s) { return reinterpret_cast<const uint8_t*>(s); }

TEST(BlockTags, LookUpGivesTableIndexOrTheTwoFailures) {
    struct Case {
        const char* tag;
        int expected;
    } cases[] = {
        {"TAPE", 0}, {"SSET", 1}, {"VOLB", 2}, {"DIRB", 3}, {"FILE", 4}, {"CFIL", 5},
        {"SFMB", 6}, {"ESET", 7}, {"EOTM", 8}, {"ESPB", 9},
        {"TAPF", -1},  // differs only in the last byte
        {"ZZZZ", -1}, {"tape", -2}, {"1APE", -2}, {"@APE", -2}, {"[APE", -2},
        {"\xC1" "APE", -2},  // a high byte is negative as a signed char
    };
    for (const Case& c : cases) EXPECT_EQ(FindBlockType(Bytes(c.tag)), c.expected) << c.tag;
}

TEST(StreamTags, LookUpAndValidity) {
    EXPECT_EQ(FindStreamType(Bytes("STAN")), 0);
    EXPECT_EQ(FindStreamType(Bytes("CPAD")), 15);
    EXPECT_EQ(FindStreamType(Bytes("TSMP")), 16);
    EXPECT_EQ(FindStreamType(Bytes("NACL")), 11);
    EXPECT_EQ(FindStreamType(Bytes("NTQU")), -1);
    EXPECT_EQ(FindStreamType(Bytes("NTRP")), -1);
    EXPECT_EQ(FindStreamType(Bytes("stan")), -2);

    struct Case {
        const char* id;
        bool plain;
        bool heuristic;
    } cases[] = {
        {"STAN", true, true},   {"NTQU", true, true},   {"NTRP", true, true},
        {"OTCP", true, true},   {"AB12", false, true},  {"ESPB", false, true},
        {"FILE", false, false}, {"VOLB", false, false}, {"Ab12", false, false},
        {"AB1 ", false, false}, {"0000", false, true},  {"\0\0\0\0", false, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsValidStreamHeader(Bytes(c.id), false), c.plain) << c.id;
        EXPECT_EQ(IsValidStreamHeader(Bytes(c.id), true), c.heuristic) << c.id;
    }
}

TEST(BlockTags, KnownTagsLeaveOutEspb) {
    for (const char* tag : {"TAPE", "SSET", "EOTM", "SFMB", "ESET", "CFIL", "DIRB", "VOLB", "FILE"})
        EXPECT_TRUE(IsKnownBlockTag(Bytes(tag))) << tag;
    EXPECT_FALSE(IsKnownBlockTag(Bytes("ESPB")));
    EXPECT_FALSE(IsKnownBlockTag(Bytes("STAN")));
}

std::u16string Convert(std::initializer_list<uint8_t> bytes) {
    std::vector<uint8_t> b(bytes);
    b.resize(b.size() + 4, 0);  // room the name copy may look at
    return ConvertDirectoryName(b.data(), bytes.size());
}

TEST(DirectoryNames, NulSeparatorsBecomeBackslashes) {
    EXPECT_EQ(Convert({'a', 0, 0, 0, 'b', 0, 0, 0, 'c', 0, 0, 0}), u"a\\b\\c");
    EXPECT_EQ(Convert({'a', 0, 0, 0, 'b', 0, 0, 0}), u"a\\b");
    EXPECT_EQ(Convert({0, 0}), u"");
    EXPECT_EQ(Convert({}), u"");
    EXPECT_EQ(Convert({0, 0, 0, 0}), u"\\");
    // An odd final byte forms a character whose high byte is the terminator's zero.
    EXPECT_EQ(Convert({'a', 0, 0, 0, 'b'}), u"a\\b");
    // No trailing NUL: the last character stays.
    EXPECT_EQ(Convert({'a', 0, 0, 0, 'b', 0}), u"a\\b");
}

TEST(Names, TakenUpToTheFirstNul) {
    const uint8_t bytes[] = {'a', 0, 'b', 0, 0, 0, 'c', 0, 0, 0};
    EXPECT_EQ(TakeName(bytes, 8), u"ab");
    EXPECT_EQ(TakeName(bytes, 0), u"");
    EXPECT_EQ(TakeName(bytes, 3), u"ab");
    const uint8_t utf16[] = {0x3D, 0xD8, 0x00, 0xDE};  // one character outside the BMP
    EXPECT_EQ(TakeName(utf16, 4), std::u16string(u"\U0001F600"));
}

}  // namespace
}  // namespace kelvara
