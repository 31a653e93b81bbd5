#include "platform/single_instance.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>

namespace kelvara {
namespace {

// Opens the lock file read-only, creating it readable for everybody. An existing file is opened
// without O_CREAT, which sticky temporary folders refuse for other users' files.
int OpenLockFile(const QByteArray& path) {
    for (int attempt = 0; attempt < 3; ++attempt) {
        int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
        if (fd >= 0 || errno != ENOENT) return fd;
        fd = ::open(path.constData(), O_RDONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0644);
        if (fd >= 0) {
            ::fchmod(fd, 0644);  // regardless of the umask
            return fd;
        }
        if (errno != EEXIST) return -1;
    }
    return -1;
}

}  // namespace

CSingleInstanceLock::CSingleInstanceLock(const QString& lockPath) {
    m_fd = OpenLockFile(QFile::encodeName(lockPath));
    if (m_fd < 0) return;
    if (::flock(m_fd, LOCK_EX | LOCK_NB) == 0) {
        m_state = State::Acquired;
        return;
    }
    m_state = errno == EWOULDBLOCK ? State::AlreadyRunning : State::Unavailable;
    ::close(m_fd);
    m_fd = -1;
}

CSingleInstanceLock::~CSingleInstanceLock() {
    // The file stays: removing it could let a third process lock a fresh file beside a holder.
    if (m_fd >= 0) ::close(m_fd);
}

QString CSingleInstanceLock::DefaultPath() {
    return QDir::tempPath() + QStringLiteral("/{QUARELBACKUPEXECBKFREPHSH2912}.lock");
}

}  // namespace kelvara
