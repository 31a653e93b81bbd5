// Search over a file table of a million names: names compared per second for typical patterns,
// and the whole search job (paths built for the matches). "vs_baseline" is the time per pass
// relative to a pass that only reads every code unit of every name, measured in the same run.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <string>

#include "engine/catalogue.h"
#include "search/search_job.h"
#include "search/wildcard.h"

namespace {

using kelvara::BKFFILEREC;
using kelvara::CBkfFileTable;
using kelvara::CVexloBKFTreeVectorClass;

constexpr int64_t kNames = 1'000'000;
constexpr int64_t kFilesPerFolder = 200;

struct Catalogue {
    CVexloBKFTreeVectorClass tree;
    CBkfFileTable files;
};

// Deterministic, varied names: words, digits, a few extensions, some upper case.
const Catalogue& BenchCatalogue() {
    static const Catalogue* catalogue = [] {
        auto* c = new Catalogue;
        static const char16_t* const kWords[] = {u"report",  u"invoice", u"Report", u"abc",
                                                 u"summary", u"photo",   u"data",   u"notes",
                                                 u"backup",  u"a1c",     u"draft",  u"letter"};
        static const char16_t* const kExtensions[] = {u".doc",  u".txt", u".xls", u".jpg",
                                                      u".docx", u"",     u".pdf", u".bak"};
        uint32_t state = 12345;
        auto next = [&] {
            state = state * 1664525u + 1013904223u;
            return state >> 8;
        };
        int64_t set = c->tree.AddNode(u"SET 1 :Bench", 0);
        int64_t volume = c->tree.AddNode(u"C:", set);
        int64_t folder = 0;
        std::u16string name;
        for (int64_t i = 0; i < kNames; ++i) {
            if (i % kFilesPerFolder == 0) {
                folder = c->tree.AddNode(
                    u"folder" +
                        std::u16string(1, static_cast<char16_t>(u'a' + (i / kFilesPerFolder) % 26)),
                    volume);
            }
            name = kWords[next() % 12];
            name += u'_';
            for (uint32_t digits = next(), d = 0; d < 5; ++d, digits /= 10) {
                name += static_cast<char16_t>(u'0' + digits % 10);
            }
            if (next() % 3 == 0) name += kWords[next() % 12];
            name += kExtensions[next() % 8];
            BKFFILEREC r = kelvara::MakeEmptyFileRecord();
            r.nFolder = folder;
            r.nSelf = i;
            r.nDataOffset = 4096 + static_cast<uint64_t>(i) * 1024;
            r.nDataSize = next() % 100000;
            c->files.Append(r, name);
        }
        return c;
    }();
    return *catalogue;
}

std::atomic<int32_t> g_busy{1};

template <typename Pass>
double SecondsPerPass(Pass pass) {
    double best = 1e9;
    for (int round = 0; round < 5; ++round) {
        auto start = std::chrono::steady_clock::now();
        pass();
        std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        best = std::min(best, took.count());
    }
    return best;
}

// Reads every code unit once: the floor any matcher has to pay.
uint64_t TouchAllNames(const CBkfFileTable& files) {
    uint64_t sum = 0;
    for (int64_t k = 0; k < files.Count(); ++k) {
        for (char16_t c : files.Name(k)) sum += c;
    }
    return sum;
}

double BaselineSeconds() {
    static const double seconds = [] {
        const CBkfFileTable& files = BenchCatalogue().files;
        return SecondsPerPass([&] { benchmark::DoNotOptimize(TouchAllNames(files)); });
    }();
    return seconds;
}

void ReportPasses(benchmark::State& state, double seconds, int64_t matches) {
    const double perPass = seconds / static_cast<double>(state.iterations());
    state.SetItemsProcessed(state.iterations() * kNames);
    state.counters["matches"] = static_cast<double>(matches);
    state.counters["vs_baseline"] = perPass / BaselineSeconds();
}

void BM_TouchNamesBaseline(benchmark::State& state) {
    const CBkfFileTable& files = BenchCatalogue().files;
    for (auto _ : state) benchmark::DoNotOptimize(TouchAllNames(files));
    state.SetItemsProcessed(state.iterations() * kNames);
}

void BM_MatchWildcard(benchmark::State& state, const char16_t* typed) {
    const CBkfFileTable& files = BenchCatalogue().files;
    const std::u16string pattern = kelvara::MakeSearchPattern(typed);
    BaselineSeconds();
    int64_t matches = 0;
    auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        matches = 0;
        for (int64_t k = 0; k < kNames; ++k) {
            matches += kelvara::MatchWildcard(files.Name(k), pattern, g_busy) ? 1 : 0;
        }
        benchmark::DoNotOptimize(matches);
    }
    std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    ReportPasses(state, took.count(), matches);
}

void BM_SearchJob(benchmark::State& state, const char16_t* typed) {
    const Catalogue& c = BenchCatalogue();
    BaselineSeconds();
    int64_t matches = 0;
    auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        kelvara::SearchResult result = kelvara::RunSearchJob(c.tree, c.files, typed, g_busy);
        matches = static_cast<int64_t>(result.rows.size());
        benchmark::DoNotOptimize(result);
    }
    std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    ReportPasses(state, took.count(), matches);
}

BENCHMARK(BM_TouchNamesBaseline)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_MatchWildcard, star_dot_doc, u"*.doc")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_MatchWildcard, report, u"report")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_MatchWildcard, a_q_c, u"a?c")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SearchJob, star_dot_doc, u"*.doc")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SearchJob, report, u"report")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SearchJob, a_q_c, u"a?c")->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
