// Peak memory while the save job extracts one 4 GiB file, against the process's peak before the
// job. Goal: within 16 MiB. The image is sparse, so it costs no disk space; the output is real.
//   extract_memory_bench [--dir DIR] [--gib N]
#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "engine/catalogue.h"
#include "extract/save_job.h"

using namespace kelvara;
namespace fs = std::filesystem;

namespace {

// VmHWM or VmRSS of this process in KiB.
long StatusKiB(const char* field) {
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind(field, 0) == 0) return std::stol(line.substr(std::strlen(field) + 1));
    }
    return -1;
}

class QuietHost : public ISaveJobHost {
public:
    void AppendLogLine(std::u16string_view) override {}
    void OnRowSaved(uint64_t) override {}
};

}  // namespace

int main(int argc, char** argv) {
    fs::path dir = fs::temp_directory_path();
    uint64_t gib = 4;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::string(argv[i]) == "--dir") dir = argv[i + 1];
        if (std::string(argv[i]) == "--gib") gib = std::stoull(argv[i + 1]);
    }
    const uint64_t dataSize = gib << 30;
    const uint64_t header = 1024;
    const fs::path imagePath = dir / "kelvara-extract-bench-sparse.bkf";
    const fs::path outDir = dir / "kelvara-extract-bench-memory-out";

    // One data stream header, then a hole of dataSize bytes and some room behind it.
    {
        int fd = ::open(imagePath.c_str(), O_RDWR | O_CREAT | O_TRUNC, 0666);
        uint8_t h[22] = {'S', 'T', 'A', 'N'};
        for (int k = 0; k < 8; ++k) h[8 + k] = static_cast<uint8_t>(dataSize >> (8 * k));
        if (fd < 0 || ::pwrite(fd, h, sizeof h, header) != sizeof h ||
            ::ftruncate(fd, static_cast<off_t>(header + 22 + dataSize + 4096)) != 0) {
            std::fprintf(stderr, "cannot make %s\n", imagePath.c_str());
            return 1;
        }
        ::close(fd);
    }
    CVexloBKFTreeVectorClass tree;
    CBkfFileTable files;
    BKFFILEREC record = MakeEmptyFileRecord();
    record.nFolder = tree.AddNode(u"Set", 0);
    record.nSelf = 0;
    record.nDataOffset = header + 22;
    record.nDataSize = dataSize;
    files.Append(record, u"huge.bin");
    ImageFile image;
    image.Open(imagePath.string());
    fs::remove_all(outDir);
    fs::create_directories(outDir);

    std::atomic<int32_t> busy{1};
    SegmentedSource lists;
    QuietHost host;
    SaveFilesJob job(tree, files, image, lists, busy, host, nullptr);
    std::vector<SaveRow> rows{MakeSaveRow(tree, files, 0)};

    const long rssBefore = StatusKiB("VmRSS:"), peakBefore = StatusKiB("VmHWM:");
    auto start = std::chrono::steady_clock::now();
    SaveJobResult result = job.Run(rows, outDir.string(), false);
    double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const long peakAfter = StatusKiB("VmHWM:");
    const uint64_t written = fs::file_size(outDir / "huge.bin");
    fs::remove_all(outDir);
    fs::remove(imagePath);

    if (result.code != 1 || written != dataSize) {
        std::fprintf(stderr, "extraction failed (%llu bytes written): %s\n",
                     static_cast<unsigned long long>(written), result.reason.c_str());
        return 1;
    }
    std::printf("extracted %llu GiB in %.1f s\n", static_cast<unsigned long long>(gib), seconds);
    std::printf("VmRSS before %ld KiB, VmHWM before %ld KiB, VmHWM after %ld KiB\n", rssBefore,
                peakBefore, peakAfter);
    std::printf("peak growth: %.2f MiB (goal <= 16 MiB)\n", (peakAfter - peakBefore) / 1024.0);
    return 0;
}
