#include "extract/save_job.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>

#include "engine/bkf.h"
#include "extract/extract_texts.h"
#include "tests/extract/extract_fixture.h"

namespace kelvara {
namespace {

namespace fs = std::filesystem;
using namespace kelvara::testing;

const std::string kSaving =
    Utf16ToUtf8(extract_texts::kLogSaving) + Utf16ToUtf8(extract_texts::kLogFileSize);
const std::string kSaved = Utf16ToUtf8(extract_texts::kLogFileSaved);

// Lowers the file size limit (writes beyond it fail with EFBIG) for the guard's lifetime.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &m_old);
        m_handler = std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit limited = m_old;
        limited.rlim_cur = bytes;
        EXPECT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_handler);
    }

private:
    struct rlimit m_old {};
    void (*m_handler)(int) = nullptr;
};

class RecordingHost : public ISaveJobHost {
public:
    std::vector<std::string> lines;
    std::vector<uint64_t> progress;
    std::function<void(const std::string&)> onLine;

    void AppendLogLine(std::u16string_view line) override {
        lines.push_back(Utf16ToUtf8(line));
        if (onLine) onLine(lines.back());
    }
    void OnRowSaved(uint64_t position) override { progress.push_back(position); }

    size_t Count(const std::string& part) const {
        size_t n = 0;
        for (const auto& l : lines) n += l.find(part) != std::string::npos;
        return n;
    }
};

// A catalogue built by hand over an image: set S1, volume C:, folders below it.
class SaveJobTest : public ::testing::Test {
protected:
    SaveJobTest() {
        m_set = m_tree.AddNode(u"S1", 0);
        m_volume = m_tree.AddNode(u"C:", m_set);
        m_image.Tape(u"Media").Sset(1, u"S1").Volb(u"C:");
        m_dest = m_root.Path() / "dest";
        fs::create_directory(m_dest);
    }

    int64_t Folder(std::u16string_view name, int64_t parent = -1) {
        return m_tree.AddNode(name, parent < 0 ? m_volume : parent);
    }
    // A file of `folder` whose data is `data` in the image; returns its index in the file table.
    int64_t AddFile(int64_t folder, std::u16string_view name, Streams streams) {
        m_image.File(Text(std::u16string(name)), std::move(streams));
        BKFFILEREC record = LastFileRecord(m_image);
        record.nFolder = folder;
        record.nSelf = m_files.Count();
        return m_files.Append(record, name);
    }
    int64_t AddFile(int64_t folder, std::u16string_view name, std::string_view data) {
        return AddFile(folder, name, Stan(data));
    }
    SaveRow Row(int64_t index) { return MakeSaveRow(m_tree, m_files, index); }
    std::vector<SaveRow> AllRows() {
        std::vector<SaveRow> rows;
        for (int64_t i = 0; i < m_files.Count(); ++i) rows.push_back(Row(i));
        return rows;
    }

    // Writes the image out; the first run does it when the test has not.
    void FinishImage() {
        if (!m_imageFile) {
            m_image.Eset();
            m_temp = std::make_unique<TempImage>(m_image);
            m_imageFile = std::make_unique<ImageFile>();
            EXPECT_TRUE(m_imageFile->Open(m_temp->Path()));
        }
    }
    SaveJobResult Run(const std::vector<SaveRow>& rows, bool hierarchy, std::string typed = "") {
        FinishImage();
        if (typed.empty()) typed = m_dest.string();
        SaveFilesJob job(m_tree, m_files, *m_imageFile, m_lists, m_busy, m_host, &m_prompts);
        SaveJobResult result = job.Run(rows, typed, hierarchy);
        EXPECT_EQ(m_lists.Sources().Count(), 0u);
        EXPECT_EQ(m_lists.Extents().size(), 0u);
        return result;
    }

    std::string Dest(const std::string& relative) const { return (m_dest / relative).string(); }
    std::string Contents(const std::string& relative) const {
        auto bytes = ReadWholeFile(m_dest / relative);
        return std::string(bytes.begin(), bytes.end());
    }
    // Every regular file below the temporary root, relative to it.
    std::vector<std::string> FilesOnDisk() const {
        std::vector<std::string> found;
        for (auto& e : fs::recursive_directory_iterator(m_root.Path())) {
            if (e.is_regular_file())
                found.push_back(fs::relative(e.path(), m_root.Path()).string());
        }
        std::sort(found.begin(), found.end());
        return found;
    }

    CVexloBKFTreeVectorClass m_tree;
    CBkfFileTable m_files;
    int64_t m_set = 0, m_volume = 0;
    ImageBuilder m_image;
    std::unique_ptr<TempImage> m_temp;
    std::unique_ptr<ImageFile> m_imageFile;
    SegmentedSource m_lists;
    std::atomic<int32_t> m_busy{1};
    RecordingHost m_host;
    ScriptedPrompts m_prompts;
    TempDir m_root;
    fs::path m_dest;
};

TEST_F(SaveJobTest, FlatSavingNumbersDuplicatesAndLogsEveryRow) {
    AddFile(Folder(u"A"), u"a.txt", "first");
    AddFile(Folder(u"B"), u"a.txt", "second");
    AddFile(Folder(u"C"), u"a.txt", "third!");
    SaveJobResult result = Run(AllRows(), false);

    EXPECT_EQ(result.code, 1);
    EXPECT_EQ(result.rowsProcessed, 3u);
    EXPECT_EQ(Contents("a.txt"), "first");
    EXPECT_EQ(Contents("0a.txt"), "second");
    EXPECT_EQ(Contents("1a.txt"), "third!");
    EXPECT_EQ(m_host.progress, (std::vector<uint64_t>{0, 1, 2}));
    ASSERT_EQ(m_host.lines.size(), 12u);
    const std::vector<std::string> expected = {"a.txt" + kSaving + "5",
                                               Dest("a.txt") + kSaved,
                                               "",
                                               "a.txt" + kSaving + "6",
                                               Dest("0a.txt") + kSaved,
                                               "",
                                               "a.txt" + kSaving + "6",
                                               Dest("1a.txt") + kSaved,
                                               "",
                                               "Number of files saved: 3",
                                               ""};
    EXPECT_EQ(std::vector<std::string>(m_host.lines.begin(), m_host.lines.begin() + 11), expected);
    const std::string completed =
        Utf16ToUtf8(extract_texts::kLogSavingCompleted) + m_dest.string() + "    ";
    EXPECT_EQ(m_host.lines[11].substr(0, completed.size()), completed);
    EXPECT_EQ(m_host.lines[11].size(),
              completed.size() + std::string("Mar-07-2024(12-05-03-PM)").size());
}

TEST_F(SaveJobTest, HierarchyKeepsTheCataloguePathAndReplacesExistingFiles) {
    int64_t data = Folder(u"Data");
    AddFile(data, u"a.txt", "new contents");
    AddFile(Folder(u"x", data), u"b.txt", "b");
    fs::create_directories(m_dest / "S1/C_/Data");
    std::ofstream(m_dest / "S1/C_/Data/a.txt") << "old contents that are longer";

    SaveJobResult result = Run(AllRows(), true);
    EXPECT_EQ(result.code, 1);
    EXPECT_EQ(Contents("S1/C_/Data/a.txt"), "new contents");
    EXPECT_EQ(Contents("S1/C_/Data/x/b.txt"), "b");
    EXPECT_FALSE(fs::exists(m_dest / "S1/C_/Data/0a.txt"));
    EXPECT_EQ(m_host.lines[1], Dest("S1/C_/Data/a.txt") + kSaved);
}

TEST_F(SaveJobTest, HierarchyBeyond260UnitsSavesFlat) {
    // D + "S1\C_\" + folder + "\a.txt" is 260 or 261 units long.
    const size_t fixed = (m_dest.string() + "/").size() + std::u16string(u"S1\\C_\\\\a.txt").size();
    ASSERT_LT(fixed, 60u);
    AddFile(Folder(std::u16string(260 - fixed, u'f')), u"a.txt", "fits");
    AddFile(Folder(std::u16string(261 - fixed, u'g')), u"a.txt", "too long");
    SaveJobResult result = Run(AllRows(), true);
    EXPECT_EQ(result.code, 1);
    EXPECT_EQ(Contents("S1/C_/" + std::string(260 - fixed, 'f') + "/a.txt"), "fits");
    EXPECT_EQ(Contents("a.txt"), "too long");
}

TEST_F(SaveJobTest, RowsWithoutDataAreCountedButWriteNothing) {
    int64_t folder = Folder(u"D");
    AddFile(folder, u"empty.txt", "");
    int64_t noData = AddFile(folder, u"nodata.txt", "x");
    m_files.At(noData).nDataOffset = 0;
    std::vector<SaveRow> rows = AllRows();
    rows.push_back({u"S1\\C:\\D\\lost.txt", u"17", -1});
    rows.push_back({u"no backslash", u"1", 999});

    SaveJobResult result = Run(rows, false);
    EXPECT_EQ(result.rowsProcessed, 4u);
    EXPECT_EQ(FilesOnDisk(), std::vector<std::string>{"dest/empty.txt"});
    EXPECT_EQ(Contents("empty.txt"), "");
    EXPECT_EQ(m_host.lines[3], "nodata.txt" + kSaving + "1");
    EXPECT_EQ(m_host.lines[4], kSaved);
    EXPECT_EQ(m_host.lines[6], "lost.txt" + kSaving + "17");
    EXPECT_EQ(m_host.lines[9], kSaving + "1");  // nothing after a missing backslash
    EXPECT_EQ(m_host.lines[12], "Number of files saved: 4");
    EXPECT_EQ(m_host.progress, (std::vector<uint64_t>{0, 1, 2, 3}));
}

TEST_F(SaveJobTest, DecliningAContinuedStreamLeavesAnEmptyFileAndNoSavedLine) {
    int64_t folder = Folder(u"D");
    AddFile(folder, u"cont.txt", Stan("tail").Continue());
    AddFile(folder, u"next.txt", "next");
    SaveJobResult result = Run(AllRows(), false);
    EXPECT_EQ(result.rowsProcessed, 2u);
    EXPECT_EQ(Contents("cont.txt"), "");
    EXPECT_EQ(Contents("next.txt"), "next");
    EXPECT_EQ(m_host.Count(kSaved), 1u);
    EXPECT_EQ(m_host.progress, std::vector<uint64_t>{1});
    EXPECT_EQ(m_prompts.shown.size(), 1u);

    // Answering yes recovers the part in this file.
    m_prompts.continuedAnswers = {true};
    fs::remove_all(m_dest);
    fs::create_directory(m_dest);
    Run(AllRows(), false);
    EXPECT_EQ(Contents("cont.txt"), "tail");
}

TEST_F(SaveJobTest, StopDuringTheThirdOfFiveRowsFinishesThatRow) {
    int64_t folder = Folder(u"D");
    for (char16_t c : std::u16string(u"abcde")) AddFile(folder, std::u16string(1, c), "data");
    int seen = 0;
    m_host.onLine = [&](const std::string& line) {
        if (line.find(kSaving) != std::string::npos && ++seen == 3) m_busy = 0;
    };
    SaveJobResult result = Run(AllRows(), false);
    EXPECT_EQ(result.code, 1);
    EXPECT_EQ(result.rowsProcessed, 3u);
    EXPECT_EQ(m_host.Count(kSaving), 3u);
    EXPECT_EQ(m_host.Count(kSaved), 3u);
    EXPECT_EQ(m_host.Count("Number of files saved: 3"), 1u);
    EXPECT_EQ(m_host.Count(Utf16ToUtf8(extract_texts::kLogSavingCompleted)), 1u);
    // The row in hand keeps what was written before the stop: nothing.
    EXPECT_EQ(Contents("c"), "");
    EXPECT_FALSE(fs::exists(m_dest / "d"));
}

TEST_F(SaveJobTest, OutputThatCannotBeCreatedEndsTheJobSilently) {
    int64_t folder = Folder(u"D");
    AddFile(folder, u"a.txt", "a");
    AddFile(Folder(u"blocked"), u"b.txt", "b");
    AddFile(folder, u"c.txt", "c");
    // A file where the folder of the second row should go.
    fs::create_directories(m_dest / "S1/C_");
    std::ofstream(m_dest / "S1/C_/blocked") << "in the way";

    SaveJobResult result = Run(AllRows(), true);
    EXPECT_EQ(result.code, 0);
    EXPECT_EQ(result.rowsProcessed, 2u);
    EXPECT_EQ(result.failedPath, Dest("S1/C_/blocked/b.txt"));
    EXPECT_EQ(result.reason, std::strerror(ENOTDIR));
    // The second row's "saving" line is the last line.
    ASSERT_EQ(m_host.lines.size(), 4u);
    EXPECT_EQ(m_host.lines[3], "b.txt" + kSaving + "1");
    EXPECT_EQ(Contents("S1/C_/D/a.txt"), "a");
    EXPECT_FALSE(fs::exists(m_dest / "S1/C_/D/c.txt"));
}

TEST_F(SaveJobTest, WriteErrorEndsTheJobWithTheSystemsReason) {
    int64_t folder = Folder(u"D");
    AddFile(folder, u"small", "fits");
    AddFile(folder, u"large", Stan(RandomBytes(100'000, 1)));
    AddFile(folder, u"after", "never");
    FinishImage();
    SaveJobResult result;
    {
        FileSizeLimit limit(50'000);  // stands in for a full disk
        result = Run(AllRows(), false);
    }

    EXPECT_EQ(result.code, 0);
    EXPECT_EQ(result.failedPath, Dest("large"));
    EXPECT_EQ(result.reason, std::strerror(EFBIG));
    EXPECT_EQ(Contents("small"), "fits");
    EXPECT_FALSE(fs::exists(m_dest / "after"));
    EXPECT_EQ(m_host.lines.back(), "large" + kSaving + "100000");
}

TEST_F(SaveJobTest, NoNameLeadsOutOfTheDestination) {
    int64_t up = Folder(u"..");
    int64_t upUp = Folder(u"..\\..", up);
    AddFile(upUp, u"..", "dotdot");
    AddFile(up, u".", "dot");
    AddFile(up, u"a/../../b", "slashes");
    AddFile(up, std::u16string(u"nul\0x", 5), "nul");
    AddFile(Folder(u"e", up), u"", "empty");
    for (bool hierarchy : {true, false}) {
        fs::remove_all(m_dest);
        fs::create_directory(m_dest);
        SaveJobResult result = Run(AllRows(), hierarchy);
        EXPECT_EQ(result.code, 1) << result.reason;
        for (const std::string& path : FilesOnDisk()) {
            EXPECT_EQ(path.rfind("dest/", 0), 0u) << path;
        }
        EXPECT_EQ(FilesOnDisk().size(), 5u);
    }
    EXPECT_EQ(Contents("__"), "dotdot");
    EXPECT_EQ(Contents("_"), "dot");
    EXPECT_EQ(Contents("a_.._.._b"), "slashes");
    EXPECT_EQ(Contents("nul_x"), "nul");
    EXPECT_EQ(Contents("0_"), "empty");
}

TEST_F(SaveJobTest, HierarchyMakesDotComponentsHarmless) {
    int64_t up = Folder(u"..");
    AddFile(Folder(u"..\\.", up), u"f", "x");
    Run(AllRows(), true);
    EXPECT_EQ(Contents("S1/C_/__/__/_/f"), "x");
}

TEST_F(SaveJobTest, UnpairedSurrogatesBecomeReplacementCharacters) {
    std::u16string name = u"a";
    name += char16_t(0xDC00);
    name += u".txt";
    AddFile(Folder(u"D"), name, "s");
    Run(AllRows(), false);
    EXPECT_EQ(Contents("a\xEF\xBF\xBD.txt"), "s");
}

TEST_F(SaveJobTest, DestinationWithOrWithoutSlashIsTheSameFolder) {
    AddFile(Folder(u"D"), u"a", "1");
    SaveJobResult typedPlain = Run(AllRows(), false, "  " + m_dest.string() + " ");
    SaveJobResult typedSlash = Run(AllRows(), false, m_dest.string() + "/");
    EXPECT_EQ(Contents("a"), "1");
    EXPECT_EQ(Contents("0a"), "1");
    EXPECT_EQ(typedPlain.shownDestination, m_dest.string());
    EXPECT_EQ(typedSlash.shownDestination, m_dest.string() + "/");
    EXPECT_EQ(Utf16ToUtf8(SaveCompletedMessage(typedPlain)),
              Utf16ToUtf8(extract_texts::kSavingCompleted) + m_dest.string());
}

TEST_F(SaveJobTest, SaveRequestChecksAndStartLines) {
    EXPECT_EQ(CheckSaveRequest(0, m_dest.string()), extract_texts::kNoFileInList);
    EXPECT_EQ(CheckSaveRequest(1, (m_dest / "missing").string()),
              extract_texts::kInvalidDestination);
    EXPECT_EQ(CheckSaveRequest(1, m_dest.string() + " "), extract_texts::kInvalidDestination);
    EXPECT_EQ(CheckSaveRequest(1, ""), extract_texts::kInvalidDestination);
    EXPECT_EQ(CheckSaveRequest(1, m_dest.string()), std::nullopt);
    std::ofstream(m_dest / "file") << "x";
    EXPECT_EQ(CheckSaveRequest(1, (m_dest / "file").string()), std::nullopt);

    AppendSaveStartLines(m_host, 42);
    ASSERT_EQ(m_host.lines.size(), 4u);
    EXPECT_EQ(m_host.lines[0], "");
    EXPECT_EQ(m_host.lines[1].rfind(Utf16ToUtf8(extract_texts::kLogSavingStarts), 0), 0u);
    EXPECT_EQ(m_host.lines[2], "Number of files to be saved: 42");
    EXPECT_EQ(m_host.lines[3], "");
}

// The whole path: an image scanned by the standard scanner, every file saved in its folders.
TEST(SaveJobScanTest, ScannedImageIsSavedWithItsFolders) {
    ImageBuilder image;
    const ByteVector big = RandomBytes(3'000'000, 2);
    image.Tape(u"Media").Sset(1, u"Daily").Volb(u"C:").Dirb(u"docs");
    image.File(u"readme.txt", Stan("read me"));
    image.File(u"big.bin", {Ntoi(), Stan(big), Csum()});
    image.Dirb(u"docs\\sub").File(u"x.txt", Stan("x"));
    image.Eset();
    TempImage file(image);
    std::atomic<int32_t> busy{1};
    bkf scanner(busy);
    ASSERT_EQ(scanner.ScanFile(file.Path().string()), 1);
    ASSERT_EQ(scanner.Files().Count(), 3);

    TempDir out;
    std::vector<SaveRow> rows;
    for (int64_t i = 0; i < scanner.Files().Count(); ++i) {
        rows.push_back(MakeSaveRow(scanner.Tree(), scanner.Files(), i));
    }
    SegmentedSource lists;
    RecordingHost host;
    SaveFilesJob job(scanner.Tree(), scanner.Files(), scanner.Image(), lists, busy, host, nullptr);
    SaveJobResult result = job.Run(rows, out.Path().string(), true);
    EXPECT_EQ(result.code, 1);
    std::map<std::string, ByteVector> found;
    for (auto& e : fs::recursive_directory_iterator(out.Path())) {
        if (!e.is_regular_file()) continue;
        std::string path = fs::relative(e.path(), out.Path()).string();
        // Everything below the set and the volume, whatever the media and set are called.
        size_t volume = path.find("/C_/");
        ASSERT_NE(volume, std::string::npos) << path;
        found[path.substr(volume + 4)] = ReadWholeFile(e.path());
    }
    EXPECT_EQ(found, (std::map<std::string, ByteVector>{{"docs/readme.txt", BytesOf("read me")},
                                                        {"docs/big.bin", big},
                                                        {"docs/sub/x.txt", BytesOf("x")}}));
}

}  // namespace
}  // namespace kelvara
