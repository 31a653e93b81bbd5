#include "extract/save_paths.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>

#include "engine/text.h"
#include "extract/log_time.h"
#include "tests/support/mtf_writer.h"

namespace kelvara {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

TEST(MakeSafeRelativePathTest, ReplacesAsTheSaveJobDoes) {
    const struct {
        std::u16string in, out;
    } cases[] = {
        {u"S1\\C:\\Data\\a.txt", u"S1\\C_\\Data\\a.txt"},
        {u"a/b\\c.txt", u"a_b\\c.txt"},
        {u"a\\\\b\\\\\\c\\\\\\\\d.txt", u"a\\b\\c\\d.txt"},
        {u"a\\\\\\\\\\b", u"a\\\\b"},  // five backslashes: three become one, then two become one
        {u"q*?<>|\"x.txt", u"q______x.txt"},
        {u"dots.\\trail \\x", u"dots.\\trail \\x"},
    };
    for (const auto& c : cases) EXPECT_EQ(MakeSafeRelativePath(c.in), c.out) << Utf16ToUtf8(c.in);
}

TEST(MakeSafeRelativePathTest, NoComponentCanLeaveOrNameTheDestination) {
    const struct {
        std::u16string in, out;
    } cases[] = {
        {u"..\\..\\etc\\passwd", u"__\\__\\etc\\passwd"},
        {u"S\\.\\..", u"S\\_\\__"},
        {u"..", u"__"},
        {u"...\\..x", u"...\\..x"},
        {std::u16string(u"a\0b\\c", 5), u"a_b\\c"},
        {u"S\\", u"S\\_"},
        {u"", u"_"},
        {u"/..\\x", u"_..\\x"},
    };
    for (const auto& c : cases) EXPECT_EQ(MakeSafeRelativePath(c.in), c.out) << Utf16ToUtf8(c.in);
}

TEST(MakeSafeFileNameTest, KeepsFlatNamesInsideTheDestination) {
    const struct {
        std::u16string in, out;
    } cases[] = {
        {u"a.txt", u"a.txt"},
        {u"..", u"__"},
        {u".", u"_"},
        {u"", u"_"},
        {u"../x", u".._x"},
        {u"a\\b", u"a\\b"},
        {std::u16string(u"x\0y", 3), u"x_y"},
        {u"C:x", u"C:x"},
    };
    for (const auto& c : cases) EXPECT_EQ(MakeSafeFileName(c.in), c.out) << Utf16ToUtf8(c.in);
}

TEST(SaveDestinationTest, TrimsAndAppendsOneSlash) {
    EXPECT_EQ(MakeSaveDestination("  /tmp/out \t").shown, "/tmp/out");
    EXPECT_EQ(MakeSaveDestination("  /tmp/out \t").folder, "/tmp/out/");
    EXPECT_EQ(MakeSaveDestination("/tmp/out/").shown, "/tmp/out/");
    EXPECT_EQ(MakeSaveDestination("/tmp/out/").folder, "/tmp/out/");
}

TEST(ExceedsMaxPathTest, CountsUtf16CodeUnitsOfDestinationAndPath) {
    const std::string d = "/d/";  // 3 units
    EXPECT_FALSE(ExceedsMaxPath(d, std::u16string(257, u'x')));
    EXPECT_TRUE(ExceedsMaxPath(d, std::u16string(258, u'x')));
    // A character outside the BMP counts twice, in the destination as in the path.
    std::u16string astral = u"\U0001F600";
    EXPECT_FALSE(ExceedsMaxPath(d, astral + std::u16string(255, u'x')));
    EXPECT_TRUE(ExceedsMaxPath(d, astral + std::u16string(256, u'x')));
    EXPECT_FALSE(ExceedsMaxPath("/\xF0\x9F\x98\x80/", std::u16string(256, u'x')));
    EXPECT_TRUE(ExceedsMaxPath("/\xF0\x9F\x98\x80/", std::u16string(257, u'x')));
    // "é" is two bytes of UTF-8 but one unit.
    EXPECT_FALSE(ExceedsMaxPath("/\xC3\xA9/", std::u16string(257, u'x')));
}

TEST(CreatePathFoldersTest, CreatesEachFolderAndReturnsTheDiskPath) {
    TempDir dir;
    const std::string d = dir.Path().string() + "/";
    fs::create_directories(dir.Path() / "S1");
    EXPECT_EQ(CreatePathFolders(d, u"S1\\C_\\Data\\a.txt"), d + "S1/C_/Data/a.txt");
    EXPECT_TRUE(fs::is_directory(dir.Path() / "S1/C_/Data"));
    EXPECT_FALSE(fs::exists(dir.Path() / "S1/C_/Data/a.txt"));
}

TEST(CreatePathFoldersTest, StopsAtAFolderThatCannotBeCreated) {
    TempDir dir;
    const std::string d = dir.Path().string() + "/";
    std::ofstream(dir.Path() / "blocker") << "x";
    EXPECT_EQ(CreatePathFolders(d, u"blocker\\sub\\a.txt"), d + "blocker/sub/a.txt");
    EXPECT_TRUE(fs::is_regular_file(dir.Path() / "blocker"));
}

TEST(CreatePathFoldersTest, UnpairedSurrogatesBecomeReplacementCharacters) {
    TempDir dir;
    const std::string d = dir.Path().string() + "/";
    std::u16string path = u"f";
    path += char16_t(0xD800);
    path += u"\\n";
    path += char16_t(0xDC01);
    EXPECT_EQ(CreatePathFolders(d, path), d + "f\xEF\xBF\xBD/n\xEF\xBF\xBD");
    EXPECT_TRUE(fs::is_directory(dir.Path() / "f\xEF\xBF\xBD"));
}

TEST(MakeUniquePathTest, NumbersInFrontOfTheNameFromZero) {
    TempDir dir;
    const std::string d = dir.Path().string() + "/";
    std::string first = MakeUniquePath(d, u"a.txt");
    EXPECT_EQ(first, d + "a.txt");
    std::ofstream(first) << "1";
    std::string second = MakeUniquePath(d, u"a.txt");
    EXPECT_EQ(second, d + "0a.txt");
    std::ofstream(second) << "2";
    EXPECT_EQ(MakeUniquePath(d, u"a.txt"), d + "1a.txt");
    fs::create_directory(dir.Path() / "b");
    EXPECT_EQ(MakeUniquePath(d, u"b"), d + "0b");
}

TEST(MakeUniquePathTest, DanglingLinkCountsAsTaken) {
    TempDir dir;
    const std::string d = dir.Path().string() + "/";
    fs::create_symlink(dir.Path() / "nowhere" / "x", dir.Path() / "l.txt");
    EXPECT_EQ(MakeUniquePath(d, u"l.txt"), d + "0l.txt");
}

TEST(MakeUniquePathTest, ResumesNumberingWhereItLeftOff) {
    TempDir dir;
    const std::string d = dir.Path().string() + "/";
    uint64_t next = 0;
    for (const char* expected : {"a", "0a", "1a", "2a"}) {
        std::string path = MakeUniquePath(d, u"a", &next);
        EXPECT_EQ(path, d + expected);
        std::ofstream(path) << "x";
    }
    EXPECT_EQ(next, 3u);
}

TEST(FormatLogTimestampTest, UsesTheLogPattern) {
    std::string text = Utf16ToUtf8(FormatLogTimestamp());
    EXPECT_TRUE(std::regex_match(
        text,
        std::regex(
            R"((Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Oct|Nov|Dec)-\d\d-\d{4}\((0[1-9]|1[0-2])-[0-5]\d-[0-5]\d-(AM|PM)\))")))
        << text;
    // Midnight and noon are 12 on the 12-hour clock.
    std::tm noon{};
    noon.tm_year = 124;
    noon.tm_mon = 2;
    noon.tm_mday = 7;
    noon.tm_hour = 12;
    noon.tm_min = 5;
    noon.tm_sec = 3;
    noon.tm_isdst = -1;
    EXPECT_EQ(Utf16ToUtf8(FormatLogTimestamp(std::mktime(&noon))), "Mar-07-2024(12-05-03-PM)");
    std::tm midnight = noon;
    midnight.tm_hour = 0;
    midnight.tm_isdst = -1;
    EXPECT_EQ(Utf16ToUtf8(FormatLogTimestamp(std::mktime(&midnight))), "Mar-07-2024(12-05-03-AM)");
}

}  // namespace
}  // namespace kelvara
