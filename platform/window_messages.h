#pragma once
// The program's own window messages and the two ways of delivering them. "Sent" runs the handler
// before returning (directly on the receiver's thread, blocking from another thread); "posted"
// queues it on the receiver's thread and returns at once.
#include <cstdint>
#include <functional>

class QObject;
class QWidget;

namespace kelvara {

using WPARAM = uintptr_t;
using LPARAM = intptr_t;
using LRESULT = intptr_t;

inline constexpr uint32_t WM_USER = 0x0400;

enum WindowMessage : uint32_t {
    WM_BKF_SHOW_FOLDER = WM_USER + 151,
    WM_BKF_TREE_MENU = WM_USER + 152,
    WM_BKF_EXPAND_ITEM = WM_USER + 154,
    WM_BKF_CHECK_CHANGED = WM_USER + 155,
    WM_BKF_RENAME_ITEM = WM_USER + 156,
    WM_BKF_SCAN_DONE = WM_USER + 157,
    WM_BKF_SCAN_PROGRESS = WM_USER + 158,
    WM_BKF_PREVIEW_ROW = WM_USER + 160,
    WM_BKF_STATUS_BAR = WM_USER + 162,
    WM_BKF_RESULT_CLICKED = WM_USER + 163,
};

// A window that handles these messages. The receiver of a send or post must be a QWidget that
// also derives from this.
class IMessageWindow {
public:
    virtual ~IMessageWindow() = default;
    virtual LRESULT WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) = 0;
};

// 0 when the window is null or handles no messages. Never call it from a worker while the
// receiver's thread waits for that worker.
LRESULT SendWindowMessage(QWidget* window, uint32_t message, WPARAM wParam = 0, LPARAM lParam = 0);
// False when the window is null or handles no messages. Dropped if the window dies first.
bool PostWindowMessage(QWidget* window, uint32_t message, WPARAM wParam = 0, LPARAM lParam = 0);

// Runs `call` on `context`'s thread and returns when it has run, like a sent message.
void SendCall(QObject* context, const std::function<void()>& call);

// The application's main window, the receiver the panes and workers address.
void SetMainMessageWindow(QWidget* window);
QWidget* MainMessageWindow();

}  // namespace kelvara
