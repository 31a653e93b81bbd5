#include "cli/text_output.h"

#include "cli/catalogue_walk.h"
#include "engine/engine_texts.h"
#include "engine/text.h"
#include "search/search_texts.h"

namespace kelvara::cli {

namespace {

void PrintRow(std::ostream& out, std::u16string_view path, uint64_t size) {
    out << ForTerminal(path) << '\t' << size << '\n';
}

class TreePrinter : public CatalogueVisitor {
public:
    TreePrinter(std::ostream& out, const bkf& scanner) : m_out(out), m_scanner(scanner) {}

    void EnterNode(int64_t node, int depth) override {
        if (depth == 0) return;  // the root is never shown
        Indent(depth - 1);
        m_out << ForTerminal(m_scanner.Tree().NodeName(node)) << "\\\n";
    }
    void File(int64_t k, int depth) override {
        const BKFFILEREC& record = m_scanner.Files().At(k);
        Indent(depth);
        m_out << ForTerminal(m_scanner.Files().Name(k)) << "  (" << record.nDataSize
              << " bytes, offset " << record.nDataOffset << ")\n";
    }
    void LeaveNode(int64_t, int) override {}

private:
    void Indent(int levels) {
        for (int i = 0; i < levels; ++i) m_out << "  ";
    }

    std::ostream& m_out;
    const bkf& m_scanner;
};

}  // namespace

std::string ForTerminal(std::u16string_view text) {
    std::u16string visible;
    visible.reserve(text.size());
    for (char16_t c : text) {
        if (c < 0x20) {
            visible += static_cast<char16_t>(0x2400 + c);
        } else if (c == 0x7F) {
            visible += u'\u2421';
        } else if (c >= 0x80 && c < 0xA0) {
            visible += u'\uFFFD';
        } else {
            visible += c;
        }
    }
    return Utf16ToUtf8(visible);
}

void PrintTree(std::ostream& out, const bkf& scanner) {
    TreePrinter printer(out, scanner);
    WalkCatalogue(scanner.Tree(), scanner.Files(), printer);
    out << texts::kTotalFilesFound << scanner.Files().Count() << '\n';
}

void PrintFileList(std::ostream& out, const bkf& scanner) {
    FilePaths paths(scanner.Tree(), scanner.Files());
    const CBkfFileTable& files = scanner.Files();
    for (int64_t k = 0; k < files.Count(); ++k) {
        PrintRow(out, paths.PathOf(k), files.At(k).nDataSize);
    }
}

void PrintSearchRows(std::ostream& out, const SearchResult& result) {
    for (const SearchRow& row : result.rows) PrintRow(out, row.strPath, row.nDataSize);
    out << search_texts::kTotalFiles << ' ' << result.rows.size() << '\n';
}

}  // namespace kelvara::cli
