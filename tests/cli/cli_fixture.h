#pragma once
// Images for the command-line tests, and small helpers to read what the runs produced.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "tests/cli/cli_runner.h"
#include "tests/support/mtf_writer.h"

namespace kelvara::testing {

// Two sets on one medium:
//   Media 1 > SET 1 :Daily > C: > docs { a.txt, report.doc } > sub { b.txt }
//   Media 1 > SET 2 :Weekly > D: > x { Report.txt, a.txt }
struct SampleImage {
    ImageBuilder builder;
    uint64_t aTxt = 0, reportDoc = 0, bTxt = 0, reportTxt = 0, secondA = 0;

    SampleImage() {
        builder.Tape(u"Media 1").Sset(1, u"Daily").Volb(u"C:").Dirb(u"docs");
        builder.File(u"a.txt", Stan("hello"));
        aTxt = builder.LastDataOffset();
        builder.File(u"report.doc", Stan("quarterly report"));
        reportDoc = builder.LastDataOffset();
        builder.Dirb(u"docs\\sub").File(u"b.txt", Stan("bb"));
        bTxt = builder.LastDataOffset();
        builder.Sset(2, u"Weekly").Volb(u"D:").Dirb(u"x");
        builder.File(u"Report.txt", Stan("upper"));
        reportTxt = builder.LastDataOffset();
        builder.File(u"a.txt", Stan("second"));
        secondA = builder.LastDataOffset();
        builder.Eset();
    }
};

inline std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

inline std::string ReadText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline std::string Str(const std::filesystem::path& path) {
    return path.string();
}

}  // namespace kelvara::testing
