#include "panes/file_type_lookup.h"

#include "platform/shell_file_info.h"

namespace kelvara {

int CFileTypeLookup::FolderIconIndex() const {
    return m_shell.FolderIconIndex();
}

QString CFileTypeLookup::Extension(const QString& fileName) {
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : fileName.mid(dot + 1);
}

const CFileTypeLookup::Entry& CFileTypeLookup::Find(const QString& fileName) {
    const QString extension = Extension(fileName);
    if (auto it = m_byExtension.constFind(extension); it != m_byExtension.constEnd()) {
        return it.value();
    }
    // A stand-in name with the same extension: the answer depends on nothing else.
    const QString probe =
        extension.isEmpty() ? QStringLiteral("file") : QStringLiteral("file.") + extension;
    Entry entry{m_shell.FileIconIndex(probe), m_shell.TypeName(probe)};
    return m_byExtension.insert(extension, entry).value();
}

int CFileTypeLookup::IconIndex(const QString& fileName) {
    return Find(fileName).icon;
}

QString CFileTypeLookup::TypeName(const QString& fileName) {
    return Find(fileName).type;
}

}  // namespace kelvara
