#include "app/application.h"

#include <QGuiApplication>
#include <QScreen>

#include "app/app_messages.h"
#include "app/app_texts.h"
#include "app/main_frame.h"
#include "platform/settings.h"
#include "platform/window_messages.h"

// Outside any namespace, as the resource initialiser requires.
static void InitKelvaraResources() {
    Q_INIT_RESOURCE(kelvara);
}

namespace kelvara {

CVexlBKFFileRepProjApp::CVexlBKFFileRepProjApp(const QString& instanceLockPath)
    : m_instanceLock(instanceLockPath) {
    InitKelvaraResources();
}

CVexlBKFFileRepProjApp::~CVexlBKFFileRepProjApp() = default;

bool CVexlBKFFileRepProjApp::InitInstance() {
    if (m_instanceLock.AlreadyRunning()) {
        InfoMessage(nullptr, QString::fromLatin1(app_texts::kAnotherInstance));
        return false;
    }
    SetSettingsKey(QString::fromLatin1(app_texts::kSettingsKey));

    m_pMainFrame = std::make_unique<CMainFrame>(*this);
    if (!m_pMainFrame->Create()) {
        m_pMainFrame.reset();
        return false;
    }
    SetMainMessageWindow(m_pMainFrame.get());
    // The work area is also the size to restore to, and what shows where no window manager
    // maximises.
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        m_pMainFrame->setGeometry(screen->availableGeometry());
    }
    m_pMainFrame->showMaximized();
    return true;
}

}  // namespace kelvara
