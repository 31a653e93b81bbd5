#pragma once
// The advanced-mode scanner: follows each recognised block's chain of stream headers through the
// image and jumps over the whole extent of its streams.
#include "engine/bkf.h"

namespace kelvara {

class bkfAdvance : public bkf {
public:
    explicit bkfAdvance(const std::atomic<int32_t>& busyFlag);
    int ScanFile(const std::string& path) override;

    // Distance from the block start to the end of its last valid stream, padded to 4; 1024 when
    // the chain does not start with a valid, plausible header.
    uint64_t SkipBlockStreams(uint64_t blockPosition, uint64_t firstStream);

protected:
    bool PassesVersionTest() const;
    uint64_t HandleTapeAdvanced(uint64_t blockPosition);
    uint64_t HandleSsetAdvanced(uint64_t blockPosition);
    uint64_t HandleVolbAdvanced(uint64_t blockPosition);
    uint64_t HandleDirbAdvanced(uint64_t blockPosition);
    uint64_t HandleFileAdvanced(uint64_t blockPosition);
    uint64_t SkipBlock(uint64_t blockPosition);

    WindowReader* m_pReader = nullptr;
    uint64_t m_nImageLength = 0;
    int64_t m_nAdvancedLastProgress = 0;
};

}  // namespace kelvara
