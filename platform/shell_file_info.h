#pragma once
// Icons and type names of files, found from the name alone (the file is never touched), with a
// small-icon list whose indexes tree and list items keep.
#include <QHash>
#include <QMimeDatabase>
#include <QString>

#include "platform/image_list.h"

namespace kelvara {

class CShellFileInfo {
public:
    CShellFileInfo();

    // The closed-folder icon.
    int FolderIconIndex() const { return m_nFolderIcon; }
    // The icon for a file of that name; one index per icon, however many names share it.
    int FileIconIndex(const QString& fileName);
    // e.g. "plain text document"; "XYZ File" for an unknown extension "xyz", "File" without one.
    QString TypeName(const QString& fileName) const;

    const CImageList& ImageList() const { return m_images; }

private:
    QMimeDatabase m_mimeDb;
    CImageList m_images{QSize(16, 16)};
    QHash<QString, int> m_indexByIconName;
    int m_nFolderIcon = -1;
    int m_nGenericFileIcon = -1;
};

}  // namespace kelvara
