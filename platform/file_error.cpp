#include "platform/file_error.h"

#include <errno.h>

namespace kelvara {

QString FileErrorMessage(int errnoValue, const QString& fileName) {
    const char* pattern = "An unknown error occurred while accessing %1.";
    switch (errnoValue) {
        case ENOENT:
        case ENOTDIR:
        case ENAMETOOLONG:
        case ELOOP:
            pattern = "%1 contains an invalid path.";
            break;
        case EACCES:
        case EPERM:
        case EROFS:
        case EISDIR:
        case ETXTBSY:
            pattern = "Access to %1 was denied.";
            break;
        case EMFILE:
        case ENFILE:
            pattern = "%1 could not be opened because there are too many open files.";
            break;
        case ENOSPC:
        case EDQUOT:
        case EFBIG:
            pattern = "Disk full while accessing %1.";
            break;
        case EIO:
            pattern = "A hardware I/O error was reported while accessing %1.";
            break;
        default:
            break;
    }
    // At most 1024 characters, as the framework's buffer.
    return QString::fromLatin1(pattern).arg(fileName).left(1024);
}

}  // namespace kelvara
