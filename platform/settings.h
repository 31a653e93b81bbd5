#pragma once
// The per-user settings of the program, kept under one key name (QSettings: that name is the
// organisation, "Kelvara" the application).
#include <QString>

namespace kelvara {

void SetSettingsKey(const QString& keyName);
QString SettingsKey();

int GetProfileInt(const QString& name, int defaultValue);
void WriteProfileInt(const QString& name, int value);

}  // namespace kelvara
