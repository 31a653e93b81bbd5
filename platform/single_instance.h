#pragma once
// One running program per machine: an exclusive lock on a file in the system temporary folder,
// held until the process ends. Another process, of any user, that tries the same file finds it
// held.
#include <QString>

namespace kelvara {

class CSingleInstanceLock {
public:
    enum class State {
        Acquired,        // this process holds the lock now
        AlreadyRunning,  // another process holds it
        Unavailable,     // the lock file could not be used; treated as "not running"
    };

    explicit CSingleInstanceLock(const QString& lockPath);
    ~CSingleInstanceLock();
    CSingleInstanceLock(const CSingleInstanceLock&) = delete;
    CSingleInstanceLock& operator=(const CSingleInstanceLock&) = delete;

    State GetState() const { return m_state; }
    bool AlreadyRunning() const { return m_state == State::AlreadyRunning; }

    // QDir::tempPath() + "/{QUARELBACKUPEXECBKFREPHSH2912}.lock".
    static QString DefaultPath();

private:
    int m_fd = -1;
    State m_state = State::Unavailable;
};

}  // namespace kelvara
