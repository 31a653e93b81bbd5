#pragma once
// Writing one recovered file: find the runs of its data (following further data streams, the end
// of a BKF file and the next file of a split set), then copy them, decompressing "FH" frames.
#include <atomic>
#include <cstdint>
#include <string_view>

#include "engine/catalogue.h"
#include "engine/image_file.h"
#include "extract/extraction_prompts.h"
#include "extract/output_file.h"
#include "extract/segmented_source.h"

namespace kelvara {

// What happens where the data continues beyond the scanned BKF file: the save job asks, the
// preview refuses (and tells the user to save the file instead).
enum class ContinuationPolicy { kAsk, kRefuse };

enum class CollectResult {
    kFilled,                  // the lists describe the data (possibly cut short)
    kDeclined,                // the user declined a stream begun in an earlier file: write nothing
    kRefusedContinuedStream,  // refusing policy: the stream began in an earlier file
    kRefusedSoftFilemark,     // refusing policy: the data reaches a soft filemark (split set)
};

// Sizes the reassembly works with.
constexpr uint64_t kTailReserve = 1'046;       // never taken as data when a stream runs off the end
constexpr uint64_t kSoftFilemarkCut = 2'048;   // further cut at a soft filemark
constexpr uint64_t kFileSearchStep = 1'024;    // FILE block search in a continuation file
constexpr uint64_t kFileSearchWindow = 2'048;  // bytes of the block the in-block walk sees
constexpr uint64_t kPlainChunk = 1'048'576;

// Fills `lists` (emptied first) for the record: source 0 is `image`. `name` is the record's name
// for the question about a continued stream. With kAsk, `prompts` answers the questions (no
// prompts: every question is answered No). The busy flag ends the stream walks when cleared.
CollectResult CollectExtents(SegmentedSource& lists, const ImageFile& image,
                             const BKFFILEREC& record, std::u16string_view name,
                             ContinuationPolicy policy, IExtractionPrompts* prompts,
                             const std::atomic<int32_t>& busy);

// Writes the data the lists describe into `output` (left open for the caller to close), then
// empties the source-file list (closing every continuation file); the extent list stays. Returns
// the first write error of the output file; read errors of the sources come out as zeros. When
// the busy flag is cleared it stops before the next frame, extent or chunk.
IoStatus WriteExtents(SegmentedSource& lists, OutputFile& output, const std::atomic<int32_t>& busy);

}  // namespace kelvara
