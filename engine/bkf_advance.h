#pragma once
// The advanced-mode scanner: follows each recognised block's chain of stream headers through the
// image and jumps over the whole extent of its streams.
#include <vector>

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

    bool ReadChainHeader(uint64_t position, uint8_t* header) const;

    // The last stream walk: header positions (ascending) with the sum of the contributions
    // before each. Blocks whose chains run into one another (possible in hostile images) then
    // cost one walk in all instead of one each, keeping the scan linear in the image.
    struct ChainMemo {
        static constexpr size_t kMaxRemembered = 1 << 20;
        bool noPadding = false;
        uint64_t total = 0;
        std::vector<uint64_t> positions;
        std::vector<uint64_t> before;
        void Add(uint64_t position, uint64_t contribution);
        // Sum of the contributions from `position` on, if the walk passed it in the same mode.
        bool Suffix(uint64_t position, bool padding, uint64_t* sum) const;
    };

    ChainMemo m_chainMemo;
    int64_t m_nAdvancedLastProgress = 0;
};

}  // namespace kelvara
