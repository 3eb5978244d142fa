#include "Settings.h"

#include <QSettings>
#include <QStandardPaths>

namespace runtime {

QString settingsFile(const QString& appName) {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QLatin1Char('/') +
           appName + QStringLiteral(".ini");
}

QString GetSetting(const QString& appName, const QString& section, const QString& key,
                   const QString& defaultValue) {
    QSettings store(settingsFile(appName), QSettings::IniFormat);
    return store.value(section + QLatin1Char('/') + key, defaultValue).toString();
}

void SaveSetting(const QString& appName, const QString& section, const QString& key, const QString& value) {
    QSettings store(settingsFile(appName), QSettings::IniFormat);
    store.setValue(section + QLatin1Char('/') + key, value);
    store.sync();
}

} // namespace runtime
