#include "platform/window_messages.h"

#include <QMetaObject>
#include <QPointer>
#include <QThread>
#include <QWidget>
#include <atomic>

namespace kelvara {
namespace {

std::atomic<QWidget*> g_mainWindow{nullptr};

IMessageWindow* Handler(QWidget* window) {
    return window ? dynamic_cast<IMessageWindow*>(window) : nullptr;
}

}  // namespace

LRESULT SendWindowMessage(QWidget* window, uint32_t message, WPARAM wParam, LPARAM lParam) {
    IMessageWindow* handler = Handler(window);
    if (!handler) return 0;
    if (QThread::currentThread() == window->thread()) {
        return handler->WindowProc(message, wParam, lParam);
    }
    LRESULT result = 0;
    QMetaObject::invokeMethod(
        window,
        [handler, message, wParam, lParam] { return handler->WindowProc(message, wParam, lParam); },
        Qt::BlockingQueuedConnection, &result);
    return result;
}

bool PostWindowMessage(QWidget* window, uint32_t message, WPARAM wParam, LPARAM lParam) {
    IMessageWindow* handler = Handler(window);
    if (!handler) return false;
    // The window is the call's context, so Qt drops the call if the window is destroyed first.
    return QMetaObject::invokeMethod(
        window,
        [handler, message, wParam, lParam] { handler->WindowProc(message, wParam, lParam); },
        Qt::QueuedConnection);
}

void SendCall(QObject* context, const std::function<void()>& call) {
    if (!context) return;
    if (QThread::currentThread() == context->thread()) {
        call();
        return;
    }
    QMetaObject::invokeMethod(context, call, Qt::BlockingQueuedConnection);
}

void SetMainMessageWindow(QWidget* window) {
    g_mainWindow.store(window);
}

QWidget* MainMessageWindow() {
    return g_mainWindow.load();
}

}  // namespace kelvara
