#include "search/search_job.h"

#include "search/search_texts.h"
#include "search/wildcard.h"

namespace kelvara {

SearchResult RunSearchJob(const CVexloBKFTreeVectorClass& tree, const CBkfFileTable& files,
                          std::u16string_view typedPattern, const std::atomic<int32_t>& busy,
                          const SearchCallbacks& callbacks) {
    SearchResult result;
    result.pattern = MakeSearchPattern(typedPattern);
    if (result.pattern.empty()) {
        result.status = SearchStatus::kEmptyPattern;
        result.message = search_texts::kEnterPattern;
        return result;
    }

    // Records of one folder sit together in the table, so one path serves a run of matches.
    int64_t cachedFolder = kNoNode;
    std::u16string folderPath;
    const int64_t total = files.Count();
    int64_t k = 0;
    for (; k < total; ++k) {
        if (busy.load(std::memory_order_relaxed) == 0) break;
        if (MatchWildcard(files.Name(k), result.pattern, busy)) {
            const BKFFILEREC& record = files.At(k);
            if (record.nFolder != cachedFolder) {
                cachedFolder = record.nFolder;
                folderPath = tree.IsValidIndex(cachedFolder) ? tree.GetNodePath(cachedFolder)
                                                             : std::u16string();
            }
            SearchRow row;
            row.nFileIndex = k;
            row.strPath = folderPath;
            row.strPath += files.Name(k);
            row.nDataSize = record.nDataSize;
            result.rows.push_back(std::move(row));
            if (callbacks.onRow) callbacks.onRow(result.rows.back(), result.rows.size());
        }
        if (callbacks.onProgress) callbacks.onProgress(k, total);
    }
    // A clear flag after the last record may have cut its comparison short too.
    if (k < total || busy.load(std::memory_order_relaxed) == 0)
        result.status = SearchStatus::kStopped;
    if (callbacks.onProgress) callbacks.onProgress(total, total);
    return result;
}

}  // namespace kelvara
