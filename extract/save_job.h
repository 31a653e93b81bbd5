#pragma once
// The save job: writes a list of recovered files into a destination folder, flat or in the folder
// hierarchy of the backup, reporting each file to the log. The caller runs it on a worker thread,
// owns the busy flag (sets it before, clears it after) and restores its window afterwards.
#include <atomic>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "engine/catalogue.h"
#include "engine/image_file.h"
#include "extract/extraction_prompts.h"
#include "extract/segmented_source.h"

namespace kelvara {

// One row of the file list.
struct SaveRow {
    std::u16string relativePath;  // column 0: folder path and name, "\" between components
    std::u16string sizeText;      // column 2: the data size in decimal
    int64_t record = -1;          // index in the file table; -1 when the row has no record
};

// A row in the file list's format for a file of the table.
SaveRow MakeSaveRow(const CVexloBKFTreeVectorClass& tree, const CBkfFileTable& files,
                    int64_t fileIndex);

class ISaveJobHost {
public:
    virtual ~ISaveJobHost() = default;
    // One log line (empty for a separating line); the desktop program also scrolls to it.
    virtual void AppendLogLine(std::u16string_view line) = 0;
    // A row is about to be saved (its first log line follows).
    virtual void OnRowStarted(uint64_t /*position*/) {}
    // A row was finished: move the progress to `position` (the row's index) and redraw the list.
    virtual void OnRowSaved(uint64_t position) = 0;
};

// The checks of the save command before a job starts: the message to show, or none.
std::optional<std::u16string_view> CheckSaveRequest(size_t rowCount,
                                                    const std::string& destinationAsTyped);
// The block of log lines that announces a job of `rowCount` rows.
void AppendSaveStartLines(ISaveJobHost& host, uint64_t rowCount);

struct SaveJobResult {
    int code = 1;                  // 1: every row done or stopped; 0: ended early
    uint64_t rowsProcessed = 0;    // rows taken, including the one in hand when it ended
    std::string shownDestination;  // the destination as the completion message shows it
    std::string failedPath;        // when ended early: the output file that failed
    std::string reason;            // when ended early: the system's reason
};

// The completion message of a job that returned 1.
std::u16string SaveCompletedMessage(const SaveJobResult& result);

class SaveFilesJob {
public:
    // `image` is the scanned image (source 0); `lists` the application's one pair of lists.
    SaveFilesJob(const CVexloBKFTreeVectorClass& tree, const CBkfFileTable& files,
                 const ImageFile& image, SegmentedSource& lists, const std::atomic<int32_t>& busy,
                 ISaveJobHost& host, IExtractionPrompts* prompts);

    // Saves the rows in order while the busy flag is set. Ends early (code 0, no further log
    // lines) when an output file cannot be created or written.
    SaveJobResult Run(std::span<const SaveRow> rows, std::string_view destinationAsTyped,
                      bool hierarchy);

private:
    const CVexloBKFTreeVectorClass& m_tree;
    const CBkfFileTable& m_files;
    const ImageFile& m_image;
    SegmentedSource& m_lists;
    const std::atomic<int32_t>& m_busy;
    ISaveJobHost& m_host;
    IExtractionPrompts* m_prompts;
};

}  // namespace kelvara
