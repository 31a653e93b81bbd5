#pragma once
// Icons and type names of recovered files by their extension alone, asked of the shell lookups
// once per extension: a folder of 100,000 files costs as many lookups as it has extensions.
#include <QHash>
#include <QString>

namespace kelvara {

class CShellFileInfo;

class CFileTypeLookup {
public:
    explicit CFileTypeLookup(CShellFileInfo& shell) : m_shell(shell) {}

    int FolderIconIndex() const;
    // The icon index in the shell's small-icon list.
    int IconIndex(const QString& fileName);
    // The shell's type name; its generic name for a missing or unknown extension.
    QString TypeName(const QString& fileName);

    // What follows the last dot; empty when there is none.
    static QString Extension(const QString& fileName);

private:
    struct Entry {
        int icon = -1;
        QString type;
    };
    const Entry& Find(const QString& fileName);

    CShellFileInfo& m_shell;
    QHash<QString, Entry> m_byExtension;
};

}  // namespace kelvara
