// Scanner speed as ratios against reading the same image once sequentially in the same run.
//   scan_bench [--dir DIR] [--mixed-mib N] [--random-mib N] [--tiny-files N] [--keep]
// --keep leaves the images in DIR and reuses them on the next run.
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "engine/bkf.h"
#include "engine/bkf_advance.h"
#include "engine/image_file.h"
#include "tests/support/mtf_writer.h"

using namespace kelvara;
using namespace kelvara::testing;
using Clock = std::chrono::steady_clock;

namespace {

double Seconds(Clock::time_point since) {
    return std::chrono::duration<double>(Clock::now() - since).count();
}

double ReadOnce(const std::string& path) {
    ImageFile image;
    image.Open(path);
    std::vector<uint8_t> buffer(1 << 20);
    auto start = Clock::now();
    uint64_t at = 0;
    while (size_t got = image.ReadAt(at, buffer.data(), buffer.size())) at += got;
    return Seconds(start);
}

struct ScanTiming {
    double seconds;
    int64_t files;
};

template <class Scanner>
ScanTiming TimeScan(const std::string& path, bool heuristic = false) {
    std::atomic<int32_t> busy{1};
    Scanner scanner(busy);
    scanner.SetHeuristic(heuristic);
    auto start = Clock::now();
    scanner.ScanFile(path);
    return {Seconds(start), scanner.Files().Count()};
}

// Resident memory now; the catalogue only grows during a scan, so after it this is its peak.
long ResidentKiB() {
    FILE* f = std::fopen("/proc/self/status", "r");
    long kib = 0;
    char line[256];
    while (f && std::fgets(line, sizeof line, f)) {
        if (std::sscanf(line, "VmRSS: %ld", &kib) == 1) break;
    }
    if (f) std::fclose(f);
    return kib;
}

// Files of mixed sizes with the streams a real backup carries.
void WriteMixedImage(const std::string& path, uint64_t targetBytes) {
    StreamingImageWriter img(path);
    std::mt19937_64 rng(42);
    img.Tape(u"Media created 2026").Sset(1, u"Nightly").Volb(u"C:");
    uint64_t files = 0;
    int folder = 0;
    while (img.Size() < targetBytes) {
        if (files % 50 == 0) img.Dirb("Data\\folder" + std::to_string(folder++));
        // Mostly small files, some medium, a few large: about 100 KiB on average.
        uint64_t pick = rng() % 100;
        uint64_t size = pick < 60 ? rng() % 16384 : pick < 95 ? rng() % 262144 : rng() % 2000000;
        img.File("file" + std::to_string(files++) + ".dat",
                 {Ntoi(), Nacl(ByteVector(64, 1)), StanFill(size, static_cast<uint8_t>(rng())),
                  Csum()});
    }
    img.Eset();
    img.Finish();
}

void WriteRandomImage(const std::string& path, uint64_t bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    std::mt19937_64 rng(1);
    std::vector<uint64_t> chunk(1 << 17);
    for (uint64_t done = 0; done < bytes; done += chunk.size() * 8) {
        for (auto& v : chunk) v = rng();
        std::fwrite(chunk.data(), 8, chunk.size(), f);
    }
    std::fclose(f);
}

void WriteTinyImage(const std::string& path, uint64_t count) {
    StreamingImageWriter img(path);
    img.Tape(u"M").Sset(1, u"S").Volb(u"C:");
    for (uint64_t i = 0; i < count; ++i) {
        if (i % 1000 == 0) img.Dirb("dir" + std::to_string(i / 1000));
        img.File("f" + std::to_string(i), Stan("x"));
    }
    img.Finish();
}

}  // namespace

int main(int argc, char** argv) {
    std::string dir = std::filesystem::temp_directory_path().string();
    uint64_t mixedMiB = 2048, randomMiB = 512, tinyFiles = 500000;
    bool keep = false;
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]) == "--keep") keep = true;
    }
    for (int i = 1; i + 1 < argc; i += 2) {
        std::string a = argv[i];
        if (a == "--dir") dir = argv[i + 1];
        if (a == "--mixed-mib") mixedMiB = std::stoull(argv[i + 1]);
        if (a == "--random-mib") randomMiB = std::stoull(argv[i + 1]);
        if (a == "--tiny-files") tinyFiles = std::stoull(argv[i + 1]);
    }

    if (mixedMiB) {
        std::string path = dir + "/kelvara-bench-mixed.bkf";
        if (!keep || !std::filesystem::exists(path)) WriteMixedImage(path, mixedMiB << 20);
        ReadOnce(path);  // warm the cache
        double read = ReadOnce(path);
        auto standard = TimeScan<bkf>(path);
        auto advanced = TimeScan<bkfAdvance>(path);
        std::printf("mixed image %llu MiB, %lld files: read %.3f s; standard scan %.3f s (ratio %.3f, goal <= 0.5); "
                    "advanced scan %.3f s (ratio %.3f, %lld files)\n",
                    (unsigned long long)mixedMiB, (long long)standard.files, read, standard.seconds,
                    standard.seconds / read, advanced.seconds, advanced.seconds / read,
                    (long long)advanced.files);
        if (!keep) std::filesystem::remove(path);
    }
    if (randomMiB) {
        std::string path = dir + "/kelvara-bench-random.bkf";
        WriteRandomImage(path, randomMiB << 20);
        ReadOnce(path);
        double read = ReadOnce(path);
        auto standard = TimeScan<bkf>(path);
        auto advanced = TimeScan<bkfAdvance>(path);
        std::printf("random bytes %llu MiB: read %.3f s; standard scan %.3f s (throughput ratio %.3f, goal >= 0.5); "
                    "advanced %.3f s (ratio %.3f)\n",
                    (unsigned long long)randomMiB, read, standard.seconds, read / standard.seconds,
                    advanced.seconds, read / advanced.seconds);
        if (!keep) std::filesystem::remove(path);
    }
    if (tinyFiles) {
        std::string path = dir + "/kelvara-bench-tiny.bkf";
        WriteTinyImage(path, tinyFiles);
        long before = ResidentKiB();
        std::atomic<int32_t> busy{1};
        bkf scanner(busy);
        auto start = Clock::now();
        scanner.ScanFile(path);
        double seconds = Seconds(start);
        long after = ResidentKiB();
        // Name bytes: UTF-16 plus terminator.
        uint64_t nameBytes = 0;
        for (int64_t i = 0; i < scanner.Files().Count(); ++i) nameBytes += 2 * scanner.Files().Name(i).size() + 2;
        double perFile = (double(after - before) * 1024.0 - double(nameBytes)) / double(scanner.Files().Count());
        double perFileStructures = (double(scanner.Files().MemoryBytes()) - double(nameBytes)) / double(scanner.Files().Count());
        std::printf("tiny files: %lld catalogued in %.3f s (%.0f files/s); memory growth %.1f bytes/file beyond names "
                    "(file table alone %.1f), goal <= 150\n",
                    (long long)scanner.Files().Count(), seconds, double(scanner.Files().Count()) / seconds, perFile,
                    perFileStructures);
        if (!keep) std::filesystem::remove(path);
    }
    return 0;
}
