#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "engine/block_finder.h"

namespace kelvara {
namespace {

// The fast finder must pick exactly the block the one-offset-at-a-time lookup picks.
TEST(BlockFinder, AgreesWithTheSimpleLookUp) {
    std::mt19937 rng(7);
    const char* alphabet = "TAPESSETVOLBDIRBFILECFILSFMBESETEOTMESPBXZ";
    std::vector<uint8_t> window(kFinderWindowBytes);
    for (int round = 0; round < 20000; ++round) {
        for (auto& b : window) {
            b = (rng() % 3 == 0) ? static_cast<uint8_t>(alphabet[rng() % 42]) : static_cast<uint8_t>(rng());
        }
        if (round % 3 == 0) {
            size_t at = rng() % 1024;
            const char* tags[] = {"TAPE", "FILE", "CFIL", "ESPB", "SFMB", "DIRB"};
            std::memcpy(window.data() + std::min<size_t>(at, kFinderWindowBytes - 4), tags[rng() % 6], 4);
        }
        for (BlockTypeMask mask : {kStandardHandledBlocks, kAdvancedHandledBlocks}) {
            int fastType = -9, simpleType = -9;
            size_t fast = FindFirstBlock(window.data(), mask, &fastType);
            size_t simple = FindFirstBlockSimple(window.data(), mask, &simpleType);
            ASSERT_EQ(fast, simple) << "round " << round;
            if (fast != kNoBlockFound) {
                ASSERT_EQ(fastType, simpleType);
            }
            int portableType = -9;
            ASSERT_EQ(FindFirstBlockPortable(window.data(), mask, &portableType), simple);
            if (simple != kNoBlockFound) {
                ASSERT_EQ(portableType, simpleType);
            }
        }
    }
}

TEST(BlockFinder, OffsetsFrom1020AreNeverExamined) {
    std::vector<uint8_t> window(kFinderWindowBytes, 0);
    int type = -1;
    std::memcpy(window.data() + 1020, "FILE", 4);
    EXPECT_EQ(FindFirstBlock(window.data(), kAdvancedHandledBlocks, &type), kNoBlockFound);
    std::memcpy(window.data() + 1019, "FILE", 4);
    EXPECT_EQ(FindFirstBlock(window.data(), kAdvancedHandledBlocks, &type), 1019u);
    EXPECT_EQ(type, 4);
}

TEST(BlockFinder, StandardModePassesOverCfilAndSfmb) {
    std::vector<uint8_t> window(kFinderWindowBytes, 0);
    std::memcpy(window.data() + 10, "CFIL", 4);
    std::memcpy(window.data() + 20, "SFMB", 4);
    std::memcpy(window.data() + 30, "ESPB", 4);
    int type = -1;
    EXPECT_EQ(FindFirstBlock(window.data(), kStandardHandledBlocks, &type), 30u);
    EXPECT_EQ(type, 9);
    EXPECT_EQ(FindFirstBlock(window.data(), kAdvancedHandledBlocks, &type), 10u);
    EXPECT_EQ(type, 5);
}

}  // namespace
}  // namespace kelvara
