// DecodeFrame output throughput on real files of this machine (text, executables, already
// compressed files) cut into frames up to the buffer limits, as a ratio to zlib's inflate of the
// same frames in the same run. Goal: at least 1.0.
//   extract_lzs_bench [--mib N]   (bytes per kind, default 16)
#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "extract/lzs_decoder.h"
#include "tests/support/lzs_encoder.h"

using namespace kelvara;
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using Bytes = std::vector<uint8_t>;

namespace {

Bytes ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Up to `limit` bytes from the files below `root` that `take` accepts, in a stable order.
Bytes Gather(const fs::path& root, uint64_t limit,
             const std::function<bool(const fs::path&)>& take) {
    std::vector<fs::path> paths;
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(
             root, fs::directory_options::skip_permission_denied, ec);
         it != fs::recursive_directory_iterator(); it.increment(ec)) {
        if (ec) break;
        if (it->is_regular_file(ec) && !it->is_symlink(ec) && take(it->path()))
            paths.push_back(it->path());
    }
    std::sort(paths.begin(), paths.end());
    Bytes all;
    for (const fs::path& p : paths) {
        if (all.size() >= limit) break;
        Bytes b = ReadFile(p);
        all.insert(all.end(), b.begin(),
                   b.begin() + std::min<uint64_t>(b.size(), limit - all.size()));
    }
    return all;
}

bool HasExtension(const fs::path& p, std::initializer_list<const char*> exts) {
    for (const char* e : exts)
        if (p.extension() == e) return true;
    return false;
}

bool IsElf(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    char magic[4] = {};
    in.read(magic, 4);
    return std::memcmp(magic,
                       "\x7F"
                       "ELF",
                       4) == 0;
}

struct Frame {
    size_t begin = 0, size = 0;  // in the plain data
    Bytes lzs, zlib;
};

// Frames of up to the output limit whose LZS form fits the input limit (incompressible data needs
// smaller frames, as its LZS form is larger than the data).
std::vector<Frame> MakeFrames(const Bytes& data) {
    std::vector<Frame> frames;
    for (size_t at = 0; at < data.size();) {
        size_t size = std::min(kFrameOutputCapacity, data.size() - at);
        Bytes packed;
        for (;;) {
            packed = testing::LzsEncode(std::span(data).subspan(at, size));
            if (packed.size() <= kFrameInputCapacity) break;
            size -= size / 16;
        }
        Frame f;
        f.begin = at;
        f.size = size;
        f.lzs = std::move(packed);
        uLongf zsize = compressBound(size);
        f.zlib.resize(zsize);
        compress2(f.zlib.data(), &zsize, data.data() + at, size, Z_DEFAULT_COMPRESSION);
        f.zlib.resize(zsize);
        frames.push_back(std::move(f));
        at += size;
    }
    return frames;
}

uint64_t DecodeAllLzs(const std::vector<Frame>& frames, uint8_t* out) {
    uint64_t total = 0;
    for (const Frame& f : frames) total += DecodeFrame(f.lzs.data(), f.lzs.size(), out, f.size);
    return total;
}

uint64_t DecodeAllZlib(const std::vector<Frame>& frames, uint8_t* out, z_stream& z) {
    uint64_t total = 0;
    for (const Frame& f : frames) {
        inflateReset(&z);
        z.next_in = const_cast<Bytef*>(f.zlib.data());
        z.avail_in = static_cast<uInt>(f.zlib.size());
        z.next_out = out;
        z.avail_out = static_cast<uInt>(kFrameOutputCapacity);
        inflate(&z, Z_FINISH);
        total += kFrameOutputCapacity - z.avail_out;
    }
    return total;
}

// Seconds per call of `once`, over enough calls to measure.
double TimeOnce(const std::function<void()>& once) {
    int reps = 0;
    auto start = Clock::now();
    double elapsed = 0;
    do {
        once();
        ++reps;
        elapsed = std::chrono::duration<double>(Clock::now() - start).count();
    } while (elapsed < 0.2);
    return elapsed / reps;
}

// Best times of the two over rounds that alternate between them, so load on the machine hits
// both alike.
std::pair<double, double> BestOfAlternating(const std::function<void()>& a,
                                            const std::function<void()>& b) {
    double bestA = 1e9, bestB = 1e9;
    for (int round = 0; round < 7; ++round) {
        bestA = std::min(bestA, TimeOnce(a));
        bestB = std::min(bestB, TimeOnce(b));
    }
    return {bestA, bestB};
}

}  // namespace

int main(int argc, char** argv) {
    uint64_t mib = 16;
    for (int i = 1; i + 1 < argc; i += 2)
        if (std::string(argv[i]) == "--mib") mib = std::stoull(argv[i + 1]);
    const uint64_t limit = mib << 20;

    struct Kind {
        const char* name;
        Bytes data;
    } kinds[] = {
        {"text (C headers)", Gather("/usr/include", limit,
                                    [](const fs::path& p) {
                                        return HasExtension(p, {".h", ".hpp"});
                                    })},
        {"executables", Gather("/usr/bin", limit, IsElf)},
        {"compressed (.gz .png .jpg)",
         Gather("/usr/share", limit,
                [](const fs::path& p) {
                    return HasExtension(p, {".gz", ".png", ".jpg", ".xz"});
                })},
    };

    z_stream z{};
    inflateInit(&z);
    Bytes out(kFrameOutputCapacity + 64);
    double lzsTotal = 0, zlibTotal = 0;
    uint64_t bytesTotal = 0;
    std::printf("%-28s %9s %8s %8s %10s %10s %6s\n", "kind", "MiB", "lzs %", "zlib %", "lzs MiB/s",
                "zlib MiB/s", "ratio");
    for (Kind& kind : kinds) {
        if (kind.data.empty()) continue;
        std::vector<Frame> frames = MakeFrames(kind.data);
        uint64_t lzsBytes = 0, zlibBytes = 0;
        // Both decoders must give back the data.
        for (const Frame& f : frames) {
            size_t n = DecodeFrame(f.lzs.data(), f.lzs.size(), out.data(), f.size);
            if (n != f.size || std::memcmp(out.data(), kind.data.data() + f.begin, n) != 0) {
                std::fprintf(stderr, "LZS round trip failed\n");
                return 1;
            }
            lzsBytes += f.lzs.size();
            zlibBytes += f.zlib.size();
        }
        const double size = static_cast<double>(kind.data.size());
        auto [lzs, zl] = BestOfAlternating([&] { DecodeAllLzs(frames, out.data()); },
                                           [&] { DecodeAllZlib(frames, out.data(), z); });
        std::printf("%-28s %9.1f %8.1f %8.1f %10.0f %10.0f %6.2f\n", kind.name, size / 1048576.0,
                    100.0 * lzsBytes / size, 100.0 * zlibBytes / size, size / 1048576.0 / lzs,
                    size / 1048576.0 / zl, zl / lzs);
        lzsTotal += lzs;
        zlibTotal += zl;
        bytesTotal += kind.data.size();
    }
    inflateEnd(&z);
    std::printf("all kinds: lzs %.0f MiB/s, zlib %.0f MiB/s, ratio lzs/zlib %.2f (goal >= 1.00)\n",
                bytesTotal / 1048576.0 / lzsTotal, bytesTotal / 1048576.0 / zlibTotal,
                zlibTotal / lzsTotal);
    return 0;
}
