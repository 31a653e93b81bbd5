// Writes the small demo backup shipped in samples/: two sets, a few folders, text files, one
// software-compressed file and a damaged stretch whose files still come back.
//   make_demo OUTPUT.bkf
#include <cstdio>
#include <string>

#include "tests/support/lzs_encoder.h"
#include "tests/support/mtf_writer.h"

using namespace kelvara::testing;

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_demo OUTPUT.bkf\n");
        return 2;
    }
    std::string letter =
        "Dear reader,\r\nthis file was recovered from a damaged backup image by Kelvara.\r\n";
    std::string report;
    for (int i = 1; i <= 40; ++i) report += "Quarter " + std::to_string(i % 4 + 1) + ": revenue up, costs down.\r\n";
    ByteVector reportBytes = BytesOf(report);

    ImageBuilder img;
    img.Tape(u"Demo media 2026").Sset(1, u"Weekly full backup").Volb(u"C:");
    img.Dirb(u"Users\\ann\\Documents").File(u"letter.txt", {Ntoi(), Stan(letter), Csum()});
    img.File(u"report-compressed.txt", Stan(MakeCompressedStream(reportBytes, 1024)));
    img.Dirb(u"Users\\ann\\Pictures").File(u"notes.md", Stan("# Notes\n\n- buy milk\n- call Bob\n"));
    img.Dirb(u"Projects\\kelvara").File(u"readme.txt", Stan("Open me with kelvara-cli.\n"));
    img.File(u"data.csv", Stan("id,name,size\n1,alpha,10\n2,beta,20\n"));
    img.Eset();
    img.Sset(2, u"Daily incremental").Volb(u"D:");
    img.Dirb(u"Shared").File(u"todo.txt", Stan("1. restore the server\n2. celebrate\n"));
    ByteVector bytes = img.Bytes();
    // A stretch of the first set's catalogue area is gone, as on a failing disk.
    ZeroRange(bytes, img.Blocks()[1].offset, 200);
    FILE* out = std::fopen(argv[1], "wb");
    if (!out || std::fwrite(bytes.data(), 1, bytes.size(), out) != bytes.size() || std::fclose(out) != 0) {
        std::perror(argv[1]);
        return 1;
    }
    return 0;
}
