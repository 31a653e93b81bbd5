#include "platform/shell_file_info.h"

#include <QFileIconProvider>
#include <QMimeType>

namespace kelvara {

CShellFileInfo::CShellFileInfo() {
    QFileIconProvider provider;
    m_nFolderIcon = m_images.Add(provider.icon(QAbstractFileIconProvider::Folder));
    m_nGenericFileIcon = m_images.Add(provider.icon(QAbstractFileIconProvider::File));
}

int CShellFileInfo::FileIconIndex(const QString& fileName) {
    const QMimeType mime = m_mimeDb.mimeTypeForFile(fileName, QMimeDatabase::MatchExtension);
    if (mime.isDefault()) return m_nGenericFileIcon;
    const QString iconName = mime.iconName();
    if (auto it = m_indexByIconName.constFind(iconName); it != m_indexByIconName.constEnd()) {
        return it.value();
    }
    const QIcon fallback = m_images.Icon(m_nGenericFileIcon);
    QIcon icon = QIcon::fromTheme(iconName, QIcon::fromTheme(mime.genericIconName(), fallback));
    const int index =
        icon.cacheKey() == fallback.cacheKey() ? m_nGenericFileIcon : m_images.Add(icon);
    m_indexByIconName.insert(iconName, index);
    return index;
}

QString CShellFileInfo::TypeName(const QString& fileName) const {
    const QMimeType mime = m_mimeDb.mimeTypeForFile(fileName, QMimeDatabase::MatchExtension);
    if (!mime.isDefault() && !mime.comment().isEmpty()) return mime.comment();
    const int dot = fileName.lastIndexOf(QLatin1Char('.'));
    const QString extension = dot >= 0 ? fileName.mid(dot + 1) : QString();
    if (extension.isEmpty()) return QStringLiteral("File");
    return extension.toUpper() + QStringLiteral(" File");
}

}  // namespace kelvara
