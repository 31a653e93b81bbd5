// Writes the seed corpora of the fuzz targets: well-formed images of every kind and damaged ones.
//   make_seeds OUTPUT_DIR
#include <atomic>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "engine/bkf.h"
#include "engine/snapshot.h"
#include "tests/support/lzs_encoder.h"
#include "tests/support/mtf_writer.h"

using namespace kelvara;
using namespace kelvara::testing;
namespace fs = std::filesystem;

namespace {

void Save(const fs::path& dir, const std::string& name, const ByteVector& bytes) {
    fs::create_directories(dir);
    std::ofstream(dir / name, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::pair<std::string, ByteVector>> Images() {
    std::vector<std::pair<std::string, ByteVector>> out;
    {
        ImageBuilder img;
        img.Tape(u"Media").Sset(1, u"Daily").Volb(u"C:").Dirb(u"a\\b").File(u"x.txt", {Ntoi(), Stan("hello"), Csum()});
        img.Dirb(u"a\\c").File(u"y", Stan(RandomBytes(3000, 1))).Eset();
        out.emplace_back("plain", img.Bytes());
    }
    {
        ImageBuilder img;
        ByteVector text;
        for (int i = 0; i < 300; ++i) text.push_back(static_cast<uint8_t>("abcabcabd"[i % 9]));
        img.Tape(u"M").Sset(1, u"S").Volb(u"D:").File(u"z.bin", Stan(MakeCompressedStream(text, 100)));
        out.emplace_back("compressed", img.Bytes());
    }
    {
        ImageBuilder img;
        img.Tape(u"M").Sset(1, u"S1").Volb(u"C:").File(u"a", {Stan("part one"), Stan("part two")});
        img.Sset(2, u"S2").Volb(u"E:").Dirb(u"q").File(u"b", {Cpad(3), Stan("cpad")});
        img.File(u"c", {StreamOf("AB12", ByteVector(30, 1)), Stan("heur")});
        img.Cfil(Stan(ByteVector(2000, 0))).Espb().Eotm();
        out.emplace_back("several-sets", img.Bytes());
    }
    {
        ImageBuilder img;
        img.Tape(u"M").Sset(1, u"S").Volb(u"C:").File(u"split", Stan(RandomBytes(5000, 3)).Length(20000));
        img.Sfmb();
        out.emplace_back("split-part1", img.Bytes());
        ImageBuilder next;
        next.Zeros(1024).File(u"split", Stan(RandomBytes(4000, 4)).Continue());
        out.emplace_back("split-part2", next.Bytes());
    }
    {
        ImageBuilder img;
        BlockOptions far;
        far.firstStreamOffset = 1500;
        BlockOptions bad;
        bad.name.offset = 0;
        img.File(u"first", Stan("x"), far).Dirb(u"d", bad).Dirb(u"e").File(u"f", Stan("y"));
        ByteVector bytes = img.Bytes();
        ZeroRange(bytes, 100, 50);
        FlipBytes(bytes, bytes.size() / 2, 7);
        out.emplace_back("damaged", bytes);
    }
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    const fs::path root = argv[1];
    const auto images = Images();
    for (const auto& [name, bytes] : images) {
        Save(root / "standard_scan", name, bytes);
        for (uint8_t flags : {0, 1, 2, 3}) {
            ByteVector seed(17, 0);
            seed[0] = flags;
            seed[9] = flags & 2 ? 0x10 : 0;  // a range end inside the image
            seed.insert(seed.end(), bytes.begin(), bytes.end());
            Save(root / "advanced_scan", name + "-" + std::to_string(flags), seed);
        }
        Save(root / "extract", name, bytes);

        // A snapshot of the scan, its path replaced by the harness's own image.
        TempImage image(bytes);
        std::atomic<int32_t> busy{1};
        bkf scanner(busy);
        scanner.ScanFile(image.Path().string());
        TempDir dir;
        auto snap = dir.Path() / "s.EXECBKFQUAREL";
        if (SaveSnapshot(scanner, snap.string(), busy).ok()) {
            std::ifstream in(snap, std::ios::binary);
            ByteVector all((std::istreambuf_iterator<char>(in)), {});
            uint32_t pathBytes = all[0] | (all[1] << 8) | (all[2] << 16) | (uint32_t(all[3]) << 24);
            ByteVector seed{0};
            seed.insert(seed.end(), all.begin() + 4 + pathBytes, all.end());
            Save(root / "snapshot_load", name, seed);
        }
    }
    // Frames for the decoder: capacities first (2 + 2 bytes), then the frame.
    ByteVector text;
    for (int i = 0; i < 2000; ++i) text.push_back(static_cast<uint8_t>("the quick brown fox "[i % 20]));
    for (size_t cut : {size_t(10), size_t(200), size_t(2000)}) {
        ByteVector frame = LzsEncode(std::span<const uint8_t>(text.data(), cut));
        ByteVector seed{static_cast<uint8_t>(frame.size()), static_cast<uint8_t>(frame.size() >> 8),
                        static_cast<uint8_t>(cut), static_cast<uint8_t>(cut >> 8)};
        seed.insert(seed.end(), frame.begin(), frame.end());
        Save(root / "decode_frame", "text-" + std::to_string(cut), seed);
    }
    return 0;
}
