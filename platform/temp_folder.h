#pragma once
// The preview folder: a private folder under the system's temporary path that the program empties
// and removes whenever it starts, opens an image, previews or closes.
#include <QString>

namespace kelvara {

// QDir::tempPath() + "/VAVEdoDeduv4", no trailing separator.
QString GetPreviewFolder();

// Removes everything in `folder` and the folder itself; failures are ignored. Symbolic links
// are removed, never followed.
void DeleteFolderTree(const QString& folder);

// DeleteFolderTree on the preview folder, if it exists.
void ClearPreviewFolder();

}  // namespace kelvara
