#include "platform/settings.h"

#include <QSettings>
#include <mutex>

namespace kelvara {
namespace {

std::mutex g_mutex;
QString g_keyName = QStringLiteral("Kelvara");

QString CurrentKey() {
    std::lock_guard lock(g_mutex);
    return g_keyName;
}

}  // namespace

void SetSettingsKey(const QString& keyName) {
    std::lock_guard lock(g_mutex);
    g_keyName = keyName;
}

QString SettingsKey() {
    return CurrentKey();
}

int GetProfileInt(const QString& name, int defaultValue) {
    QSettings settings(CurrentKey(), QStringLiteral("Kelvara"));
    bool ok = false;
    const int value = settings.value(name, defaultValue).toInt(&ok);
    return ok ? value : defaultValue;
}

void WriteProfileInt(const QString& name, int value) {
    QSettings settings(CurrentKey(), QStringLiteral("Kelvara"));
    settings.setValue(name, value);
    settings.sync();
}

}  // namespace kelvara
