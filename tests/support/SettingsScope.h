#pragma once

#include <QByteArray>
#include <QTemporaryDir>

// Gives the per-user settings store a folder of its own for the scope's lifetime, so a test
// starts as on a machine where the programs never ran.
class SettingsScope {
public:
    SettingsScope() : m_previous(qgetenv("XDG_CONFIG_HOME")) {
        qputenv("XDG_CONFIG_HOME", m_dir.path().toUtf8());
    }
    ~SettingsScope() {
        if (m_previous.isEmpty())
            qunsetenv("XDG_CONFIG_HOME");
        else
            qputenv("XDG_CONFIG_HOME", m_previous);
    }
    SettingsScope(const SettingsScope&) = delete;
    SettingsScope& operator=(const SettingsScope&) = delete;

private:
    QTemporaryDir m_dir;
    QByteArray m_previous;
};
