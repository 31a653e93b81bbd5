// Extracting every file of a large plain image (the save job, flat), as a ratio to copying the
// same number of bytes file to file in the same run. Goal: at most 1.3.
//   extract_plain_bench [--dir DIR] [--out DIR] [--mib N] [--runs N]
// The image is built once under --dir (default the system temp folder) and reused; the copies
// and the extracted files go below --out (default the same folder). An --out in memory (/dev/shm)
// leaves the disk's writeback and discards out of the figures.
#include <fcntl.h>
#include <sys/sendfile.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "engine/bkf.h"
#include "engine/text.h"
#include "extract/save_job.h"
#include "tests/support/mtf_writer.h"

using namespace kelvara;
using namespace kelvara::testing;
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

double Seconds(Clock::time_point since) {
    return std::chrono::duration<double>(Clock::now() - since).count();
}

// Sizes as a file server's backup has them: many small files, some large ones.
uint64_t NextFileSize(std::mt19937_64& rng) {
    uint64_t pick = rng() % 100;
    if (pick < 50) return 1024 + rng() % (63 * 1024);
    if (pick < 85) return 64 * 1024 + rng() % (960 * 1024);
    return (1ull << 20) + rng() % (23ull << 20);
}

void BuildImage(const fs::path& path, uint64_t target) {
    StreamingImageWriter image(path);
    image.Tape(u"Media").Sset(1, u"Bench").Volb(u"C:");
    std::mt19937_64 rng(42);
    int folder = 0, inFolder = 0;
    for (int n = 0; image.Size() < target; ++n) {
        if (inFolder == 0) image.Dirb(Text("dir" + std::to_string(folder++)));
        inFolder = (inFolder + 1) % 50;
        uint64_t size = std::min(NextFileSize(rng), target - std::min(target, image.Size()) + 1);
        image.File(Text("file" + std::to_string(n) + ".dat"),
                   {Ntoi(), StanFill(size, static_cast<uint8_t>(n)), Csum()});
    }
    image.Eset();
    image.Finish();
}

void ReadAll(const std::string& path) {
    ImageFile image;
    image.Open(path);
    std::vector<uint8_t> buffer(1 << 20);
    for (uint64_t at = 0; size_t got = image.ReadAt(at, buffer.data(), buffer.size());) at += got;
}

// Copies `total` bytes of the image into one new file with read and write in 1 MiB pieces.
double CopyReadWrite(const std::string& from, const std::string& to, uint64_t total) {
    auto start = Clock::now();
    int in = ::open(from.c_str(), O_RDONLY);
    int out = ::open(to.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
    std::vector<char> buffer(1 << 20);
    for (uint64_t done = 0; done < total;) {
        ssize_t got = ::read(in, buffer.data(), std::min<uint64_t>(buffer.size(), total - done));
        if (got <= 0) break;
        if (::write(out, buffer.data(), static_cast<size_t>(got)) != got) break;
        done += static_cast<uint64_t>(got);
    }
    ::close(in);
    ::close(out);
    return Seconds(start);
}

// The same with the kernel copying (copy_file_range or sendfile), the fastest plain copy there is.
double CopyInKernel(const std::string& from, const std::string& to, uint64_t total) {
    auto start = Clock::now();
    int in = ::open(from.c_str(), O_RDONLY);
    int out = ::open(to.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
    for (uint64_t done = 0; done < total;) {
        ssize_t got = ::copy_file_range(in, nullptr, out, nullptr, total - done, 0);
        // Between file systems the kernel copies with sendfile instead.
        if (got < 0 && (errno == EXDEV || errno == EINVAL || errno == EOPNOTSUPP)) {
            got = ::sendfile(out, in, nullptr, std::min<uint64_t>(total - done, 1u << 30));
        }
        if (got <= 0) break;
        done += static_cast<uint64_t>(got);
    }
    ::close(in);
    ::close(out);
    return Seconds(start);
}

class QuietHost : public ISaveJobHost {
public:
    uint64_t lines = 0;
    void AppendLogLine(std::u16string_view) override { ++lines; }
    void OnRowSaved(uint64_t) override {}
};

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    fs::path dir = fs::temp_directory_path();
    uint64_t mib = 2048;
    int runs = 5;
    fs::path outBase;
    for (int i = 1; i + 1 < argc; i += 2) {
        std::string a = argv[i];
        if (a == "--dir") dir = argv[i + 1];
        if (a == "--out") outBase = argv[i + 1];
        if (a == "--mib") mib = std::stoull(argv[i + 1]);
        if (a == "--runs") runs = std::stoi(argv[i + 1]);
    }
    const fs::path imagePath = dir / ("kelvara-extract-bench-" + std::to_string(mib) + "m.bkf");
    const fs::path outDir = (outBase.empty() ? dir : outBase) / "kelvara-extract-bench-out";
    if (!fs::exists(imagePath) || fs::file_size(imagePath) < (mib << 20)) {
        std::printf("building %s ...\n", imagePath.c_str());
        BuildImage(imagePath, mib << 20);
    }

    std::atomic<int32_t> busy{1};
    bkf scanner(busy);
    if (scanner.ScanFile(imagePath.string()) != 1) {
        std::fprintf(stderr, "cannot scan %s\n", imagePath.c_str());
        return 1;
    }
    std::vector<SaveRow> rows;
    uint64_t total = 0;
    for (int64_t i = 0; i < scanner.Files().Count(); ++i) {
        rows.push_back(MakeSaveRow(scanner.Tree(), scanner.Files(), i));
        total += scanner.Files().At(i).nDataSize;
    }
    std::printf("image %.0f MiB, %zu files, %.0f MiB of file data\n",
                fs::file_size(imagePath) / 1048576.0, rows.size(), total / 1048576.0);

    ReadAll(imagePath.string());  // both sides read from the page cache
    std::vector<double> copyTimes, kernelTimes, extractTimes;
    auto fresh = [&] {
        fs::remove_all(outDir);
        fs::create_directories(outDir);
        ::sync();  // no writeback of an earlier step during the next
    };
    auto copyStep = [&] {
        copyTimes.push_back(CopyReadWrite(imagePath.string(), (outDir / "copy").string(), total));
    };
    auto kernelStep = [&] {
        kernelTimes.push_back(CopyInKernel(imagePath.string(), (outDir / "copy").string(), total));
    };
    bool failed = false;
    auto extractStep = [&] {
        SegmentedSource lists;
        QuietHost host;
        SaveFilesJob job(scanner.Tree(), scanner.Files(), scanner.Image(), lists, busy, host,
                         nullptr);
        auto start = Clock::now();
        SaveJobResult result = job.Run(rows, outDir.string(), false);
        extractTimes.push_back(Seconds(start));
        if (result.code != 1 || result.rowsProcessed != rows.size()) {
            std::fprintf(stderr, "extraction failed: %s %s\n", result.failedPath.c_str(),
                         result.reason.c_str());
            failed = true;
        }
    };
    // The order turns from run to run so that no step always follows the same one.
    const std::function<void()> steps[] = {copyStep, kernelStep, extractStep};
    for (int run = 0; run < runs && !failed; ++run) {
        for (int k = 0; k < 3; ++k) {
            fresh();
            steps[(run + k) % 3]();
        }
        std::printf("run %d: copy %.3f s, kernel copy %.3f s, extraction %.3f s\n", run + 1,
                    copyTimes.back(), kernelTimes.back(), extractTimes.back());
    }
    if (failed) return 1;
    fs::remove_all(outDir);

    const double copy = Median(copyTimes), kernel = Median(kernelTimes),
                 extract = Median(extractTimes);
    std::printf(
        "median: copy %.3f s (%.0f MiB/s), kernel copy %.3f s, extraction %.3f s (%.0f MiB/s)\n",
        copy, total / 1048576.0 / copy, kernel, extract, total / 1048576.0 / extract);
    std::printf("ratio extraction / read-write copy: %.2f (goal <= 1.30); best runs: %.2f\n",
                extract / copy,
                *std::min_element(extractTimes.begin(), extractTimes.end()) /
                    *std::min_element(copyTimes.begin(), copyTimes.end()));
    std::printf("ratio extraction / kernel copy:     %.2f\n", extract / kernel);
    return 0;
}
