#include "extract/save_job.h"

#include <sys/stat.h>

#include <unordered_map>

#include "engine/text.h"
#include "extract/extract_texts.h"
#include "extract/log_time.h"
#include "extract/output_file.h"
#include "extract/reassembly.h"
#include "extract/save_paths.h"

namespace kelvara {

namespace {

std::u16string AfterLastBackslash(std::u16string_view path) {
    size_t slash = path.rfind(u'\\');
    return slash == std::u16string_view::npos ? std::u16string()
                                              : std::u16string(path.substr(slash + 1));
}

std::u16string Concat(std::initializer_list<std::u16string_view> parts) {
    std::u16string out;
    for (auto p : parts) out += p;
    return out;
}

}  // namespace

SaveRow MakeSaveRow(const CVexloBKFTreeVectorClass& tree, const CBkfFileTable& files,
                    int64_t fileIndex) {
    SaveRow row;
    row.relativePath = GetFileRelativePath(tree, files, fileIndex);
    row.sizeText = AsciiToUtf16(std::to_string(files.At(fileIndex).nDataSize));
    row.record = fileIndex;
    return row;
}

std::optional<std::u16string_view> CheckSaveRequest(size_t rowCount,
                                                    const std::string& destinationAsTyped) {
    if (rowCount == 0) return extract_texts::kNoFileInList;
    struct stat st {};
    if (destinationAsTyped.empty() || ::stat(destinationAsTyped.c_str(), &st) != 0) {
        return extract_texts::kInvalidDestination;
    }
    return std::nullopt;
}

void AppendSaveStartLines(ISaveJobHost& host, uint64_t rowCount) {
    host.AppendLogLine(u"");
    host.AppendLogLine(Concat({extract_texts::kLogSavingStarts, FormatLogTimestamp()}));
    host.AppendLogLine(
        Concat({extract_texts::kLogFilesToBeSaved, AsciiToUtf16(std::to_string(rowCount))}));
    host.AppendLogLine(u"");
}

std::u16string SaveCompletedMessage(const SaveJobResult& result) {
    return Concat({extract_texts::kSavingCompleted, Utf8ToUtf16(result.shownDestination)});
}

SaveFilesJob::SaveFilesJob(const CVexloBKFTreeVectorClass& tree, const CBkfFileTable& files,
                           const ImageFile& image, SegmentedSource& lists,
                           const std::atomic<int32_t>& busy, ISaveJobHost& host,
                           IExtractionPrompts* prompts)
    : m_tree(tree),
      m_files(files),
      m_image(image),
      m_lists(lists),
      m_busy(busy),
      m_host(host),
      m_prompts(prompts) {}

SaveJobResult SaveFilesJob::Run(std::span<const SaveRow> rows, std::string_view destinationAsTyped,
                                bool hierarchy) {
    const SaveDestination destination = MakeSaveDestination(destinationAsTyped);
    SaveJobResult result;
    result.shownDestination = destination.shown;
    // Where flat numbering resumes per name, so many files of one name stay linear.
    std::unordered_map<std::u16string, uint64_t> nextNumbers;

    auto endEarly = [&](const std::string& path, const IoStatus& status) {
        m_lists.Clear();
        result.code = 0;
        result.failedPath = path;
        result.reason = status.reason;
        return result;
    };

    m_lists.Extents().clear();
    for (size_t i = 0; i < rows.size() && m_busy.load(std::memory_order_relaxed) != 0; ++i) {
        const SaveRow& row = rows[i];
        ++result.rowsProcessed;
        m_host.OnRowStarted(i);
        m_host.AppendLogLine(
            Concat({AfterLastBackslash(row.relativePath), extract_texts::kLogSaving,
                    extract_texts::kLogFileSize, row.sizeText}));

        std::string outputPath;
        const bool usable = m_files.IsValidIndex(row.record) &&
                            m_files.At(row.record).chKind == 'F' &&
                            m_files.At(row.record).nDataOffset != 0;
        if (usable) {
            const BKFFILEREC record = m_files.At(row.record);
            const std::u16string_view name = m_files.Name(row.record);
            bool flat = !hierarchy;
            if (hierarchy) {
                std::u16string safe =
                    MakeSafeRelativePath(GetFileRelativePath(m_tree, m_files, row.record));
                if (ExceedsMaxPath(destination.folder, safe)) {
                    flat = true;
                } else {
                    outputPath = CreatePathFolders(destination.folder, safe);
                }
            }
            if (flat) {
                std::u16string safeName = MakeSafeFileName(name);
                outputPath = MakeUniquePath(destination.folder, safeName, &nextNumbers[safeName]);
            }

            OutputFile output;
            if (IoStatus created = output.Create(outputPath); !created) {
                return endEarly(outputPath, created);
            }
            if (record.nDataSize != 0) {
                CollectResult collected = CollectExtents(
                    m_lists, m_image, record, name, ContinuationPolicy::kAsk, m_prompts, m_busy);
                if (collected != CollectResult::kFilled) {
                    if (IoStatus closed = output.Close(); !closed)
                        return endEarly(outputPath, closed);
                    m_lists.Clear();
                    continue;
                }
                if (IoStatus written = WriteExtents(m_lists, output, m_busy); !written) {
                    output.Close();
                    return endEarly(outputPath, written);
                }
            }
            if (IoStatus closed = output.Close(); !closed) return endEarly(outputPath, closed);
            m_lists.Extents().clear();
        }

        m_host.OnRowSaved(i);
        m_host.AppendLogLine(Concat({Utf8ToUtf16(outputPath), extract_texts::kLogFileSaved}));
        m_host.AppendLogLine(u"");
    }

    m_lists.Sources().Clear();
    m_host.AppendLogLine(Concat(
        {extract_texts::kLogFilesSaved, AsciiToUtf16(std::to_string(result.rowsProcessed))}));
    m_host.AppendLogLine(u"");
    m_host.AppendLogLine(Concat({extract_texts::kLogSavingCompleted, Utf8ToUtf16(destination.shown),
                                 u"    ", FormatLogTimestamp()}));
    return result;
}

}  // namespace kelvara
