#pragma once

#include <QString>

namespace runtime {

// The per-user settings store (GetSetting / SaveSetting): application, section, key and
// text values, in one INI file per application under the user's XDG config folder, so
// every program of the same user shares them.
QString GetSetting(const QString& appName, const QString& section, const QString& key,
                   const QString& defaultValue = {});
void SaveSetting(const QString& appName, const QString& section, const QString& key, const QString& value);

// The file that holds an application's settings.
QString settingsFile(const QString& appName);

} // namespace runtime
