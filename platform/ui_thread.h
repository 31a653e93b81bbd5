#pragma once
// Shows a window owned by `owner` on the UI thread: directly there, and from a worker by a blocking
// call into the UI thread (the UI thread never waits for a worker, so this cannot deadlock).
#include <QApplication>
#include <QMetaObject>
#include <QPointer>
#include <QThread>
#include <QWidget>

namespace kelvara {

template <class Result, class Show>
Result ShowOnUiThreadFrom(QWidget* owner, Show show, Result fallback) {
    if (QThread::currentThread() == qApp->thread()) return show(owner);
    Result result = fallback;
    QPointer<QWidget> guardedOwner(owner);
    QMetaObject::invokeMethod(
        qApp, [&] { return show(guardedOwner.data()); }, Qt::BlockingQueuedConnection, &result);
    return result;
}

}  // namespace kelvara
