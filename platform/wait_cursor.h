#pragma once
// Shows the wait cursor for the lifetime of the object.
#include <QApplication>
#include <QCursor>

namespace kelvara {

class CWaitCursor {
public:
    CWaitCursor() { QApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }
    ~CWaitCursor() { QApplication::restoreOverrideCursor(); }
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
};

}  // namespace kelvara
