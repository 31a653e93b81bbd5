#include "platform/temp_folder.h"

#include <QDir>
#include <QFileInfo>

namespace kelvara {

QString GetPreviewFolder() {
    return QDir::tempPath() + QStringLiteral("/VAVEdoDeduv4");
}

void DeleteFolderTree(const QString& folder) {
    const QFileInfo info(folder);
    if (info.isSymLink()) {
        QFile::remove(folder);
        return;
    }
    if (!info.isDir()) return;
    // removeRecursively deletes links as entries and does not descend into them.
    QDir(folder).removeRecursively();
}

void ClearPreviewFolder() {
    DeleteFolderTree(GetPreviewFolder());
}

}  // namespace kelvara
