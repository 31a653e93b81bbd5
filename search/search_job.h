#pragma once
// The search job: every record of the file table, in table order, whose name matches the pattern.
// The caller owns the busy flag: it sets it before the job and clears it afterwards; clearing it
// meanwhile stops the job, which keeps the rows found so far.
#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "engine/catalogue.h"

namespace kelvara {

struct SearchRow {
    int64_t nFileIndex = -1;  // the record in the file table
    std::u16string strPath;   // GetNodePath(nFolder) followed by the name
    uint64_t nDataSize = 0;
};

enum class SearchStatus {
    kDone,          // every record was compared
    kStopped,       // the busy flag was cleared first; rows hold what was found until then
    kEmptyPattern,  // nothing but white space typed; no search ran (message holds the text)
};

struct SearchResult {
    SearchStatus status = SearchStatus::kDone;
    std::string message;     // the text to show for kEmptyPattern
    std::u16string pattern;  // the pattern as used
    std::vector<SearchRow> rows;
};

struct SearchCallbacks {
    // After each appended row, with the number of rows so far.
    std::function<void(const SearchRow& row, size_t rowCount)> onRow;
    // After each compared record k; once more with the table size at the end.
    std::function<void(int64_t position, int64_t total)> onProgress;
};

SearchResult RunSearchJob(const CVexloBKFTreeVectorClass& tree, const CBkfFileTable& files,
                          std::u16string_view typedPattern, const std::atomic<int32_t>& busy,
                          const SearchCallbacks& callbacks = {});

}  // namespace kelvara
