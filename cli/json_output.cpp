#include "cli/json_output.h"

#include <nlohmann/json.hpp>
#include <vector>

#include "cli/catalogue_walk.h"
#include "engine/text.h"

namespace kelvara::cli {

namespace {

using nlohmann::json;

std::string Dump(const json& value) {
    // Names are valid UTF-8 after conversion; replace rather than throw should that ever change.
    return value.dump(-1, ' ', false, json::error_handler_t::replace);
}

json FileObject(const CBkfFileTable& files, int64_t k, const std::u16string& folderPath) {
    // Copies: the record is packed, its fields cannot be bound to references.
    const uint64_t size = files.At(k).nDataSize;
    const uint64_t offset = files.At(k).nDataOffset;
    const std::u16string_view name = files.Name(k);
    std::u16string path = folderPath;
    path += name;
    return json{{"index", k},
                {"path", Utf16ToUtf8(path)},
                {"name", Utf16ToUtf8(name)},
                {"size", size},
                {"offset", offset}};
}

class JsonTreeWriter : public CatalogueVisitor {
public:
    JsonTreeWriter(std::ostream& out, const bkf& scanner, const JsonTreeInfo& info)
        : m_out(out), m_scanner(scanner), m_info(info), m_paths(scanner.Tree(), scanner.Files()) {}

    void EnterNode(int64_t node, int depth) override {
        if (depth == 0) {
            m_out << "{\"image\":" << Dump(m_info.strImage)
                  << ",\"stopped\":" << (m_info.bStopped ? "true" : "false")
                  << ",\"total_files\":" << m_scanner.Files().Count() << ",\"children\":[";
        } else {
            Level& parent = m_levels.back();
            if (parent.children++) m_out << ',';
            const CVexloBKFTreeVectorClass& tree = m_scanner.Tree();
            m_out << "{\"name\":" << Dump(Utf16ToUtf8(tree.NodeName(node)))
                  << ",\"path\":" << Dump(Utf16ToUtf8(tree.GetNodePath(node))) << ",\"children\":[";
        }
        m_levels.push_back({});
    }

    void File(int64_t k, int) override {
        Level& level = m_levels.back();
        m_out << (level.files++ ? "," : "],\"files\":[");
        m_out << Dump(FileObject(m_scanner.Files(), k, m_paths.FolderPath(k)));
    }

    void LeaveNode(int64_t, int depth) override {
        m_out << (m_levels.back().files ? "]}" : "],\"files\":[]}");
        m_levels.pop_back();
        if (depth == 0) m_out << '\n';
    }

private:
    struct Level {
        size_t children = 0;
        size_t files = 0;
    };
    std::ostream& m_out;
    const bkf& m_scanner;
    const JsonTreeInfo& m_info;
    FilePaths m_paths;
    std::vector<Level> m_levels;
};

template <typename EachIndex>
void PrintFileArray(std::ostream& out, const bkf& scanner, EachIndex eachIndex) {
    FilePaths paths(scanner.Tree(), scanner.Files());
    bool first = true;
    out << '[';
    eachIndex([&](int64_t k) {
        out << (first ? "\n" : ",\n") << Dump(FileObject(scanner.Files(), k, paths.FolderPath(k)));
        first = false;
    });
    out << (first ? "]\n" : "\n]\n");
}

}  // namespace

void PrintJsonTree(std::ostream& out, const bkf& scanner, const JsonTreeInfo& info) {
    JsonTreeWriter writer(out, scanner, info);
    WalkCatalogue(scanner.Tree(), scanner.Files(), writer);
}

void PrintJsonFileList(std::ostream& out, const bkf& scanner) {
    PrintFileArray(out, scanner, [&](auto emit) {
        for (int64_t k = 0; k < scanner.Files().Count(); ++k) emit(k);
    });
}

void PrintJsonSearchRows(std::ostream& out, const bkf& scanner, const SearchResult& result) {
    PrintFileArray(out, scanner, [&](auto emit) {
        for (const SearchRow& row : result.rows) emit(row.nFileIndex);
    });
}

}  // namespace kelvara::cli
