#pragma once
// What a tree item stands for: a catalogue node or a file-table entry of the current scanner,
// by index. The "Dummy" placeholder and foreign items carry none.
#include <QMetaType>
#include <QVariant>
#include <cstdint>

namespace kelvara {

struct TreeItemRef {
    enum class Kind : uint8_t { None, Node, File };
    Kind kind = Kind::None;
    int64_t index = -1;

    static TreeItemRef Node(int64_t nodeIndex) { return {Kind::Node, nodeIndex}; }
    static TreeItemRef File(int64_t fileIndex) { return {Kind::File, fileIndex}; }
    bool IsNode() const { return kind == Kind::Node; }
    bool IsFile() const { return kind == Kind::File; }
    bool IsNone() const { return kind == Kind::None; }

    QVariant ToVariant() const { return QVariant::fromValue(*this); }
    static TreeItemRef FromVariant(const QVariant& value) {
        return value.canConvert<TreeItemRef>() ? value.value<TreeItemRef>() : TreeItemRef{};
    }
};

}  // namespace kelvara

Q_DECLARE_METATYPE(kelvara::TreeItemRef)
