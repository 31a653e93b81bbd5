#include <gtest/gtest.h>

#include <random>

#include "engine/window_reader.h"
#include "tests/engine/scan_fixture.h"

namespace kelvara::testing {
namespace {

ByteVector BusyImage(uint32_t seed) {
    std::mt19937 rng(seed);
    ImageBuilder img;
    img.Tape(u"M").Sset(1, u"S").Volb(u"C:");
    for (int i = 0; i < 400; ++i) {
        if (i % 25 == 0) img.Dirb("d" + std::to_string(i / 25) + "\\sub");
        size_t size = (rng() % 4 == 0) ? rng() % 70000 : rng() % 3000;
        img.File("f" + std::to_string(i), {Ntoi(), Stan(RandomBytes(size, rng())), Csum()});
        if (rng() % 40 == 0) img.Cfil(Stan(ByteVector(rng() % 5000, 0)));
        if (rng() % 60 == 0) img.Sset(static_cast<uint16_t>(i), u"again").Volb(u"D:");
    }
    return img.Bytes();
}

// Whatever happened to the image, large buffered reads must see exactly what a seek and read
// per window sees.
TEST(WindowReaders, BufferedAndPlainReadsGiveTheSameCatalogue) {
    for (uint32_t seed = 1; seed <= 6; ++seed) {
        ByteVector bytes = BusyImage(seed);
        std::mt19937 rng(seed * 77);
        switch (seed % 6) {
            case 0: ZeroRange(bytes, bytes.size() / 3, 200000); break;
            case 1: Truncate(bytes, bytes.size() * 2 / 3 + 517); break;
            case 2: ScrambleRange(bytes, bytes.size() / 2, 100000, seed); break;
            case 3: CutOut(bytes, 5000, 123457); break;
            case 4:
                for (int k = 0; k < 50; ++k) FlipBytes(bytes, rng() % (bytes.size() - 4), 3);
                break;
            default: break;
        }
        TempImage image(bytes);
        for (Mode mode : {Mode::kStandard, Mode::kAdvanced, Mode::kHeuristic}) {
            auto plain = ScanPath(image.Path().string(), {.mode = mode, .plainReads = true});
            auto buffered = ScanPath(image.Path().string(), {.mode = mode});
            EXPECT_GT(buffered->scanner->Files().Count(), 50) << seed;
            EXPECT_EQ(Dump(*plain->scanner), Dump(*buffered->scanner)) << "seed " << seed;
            EXPECT_EQ(plain->host.Trail(), buffered->host.Trail()) << "seed " << seed;
        }
    }
}

TEST(WindowReaders, ReadsPastTheEndAreZeros) {
    TempImage image(ByteVector(3000, 0xAB));
    ImageFile file;
    ASSERT_TRUE(file.Open(image.Path().string()));
    PlainWindowReader plain(file);
    BufferedWindowReader buffered(file);
    for (uint64_t at : {0ull, 1000ull, 2990ull, 3000ull, 100000ull}) {
        ByteVector a(plain.Window(at, 2048), plain.Window(at, 2048) + 2048);
        const uint8_t* b = buffered.Window(at, 2048);
        EXPECT_TRUE(std::equal(a.begin(), a.end(), b)) << at;
        for (size_t i = 0; i < 2048; ++i) EXPECT_EQ(b[i], at + i < 3000 ? 0xAB : 0) << at + i;
    }
}

}  // namespace
}  // namespace kelvara::testing
