#pragma once

#include "runtime/Regional.h"

#include <QByteArray>

#include <cstdlib>

// Pins the regional settings of the process to a locale for the scope's lifetime.
class LocaleScope {
public:
    explicit LocaleScope(const char* locale) : m_previous(qgetenv("LC_ALL")) {
        qputenv("LC_ALL", locale);
        runtime::Regional::reload();
    }
    ~LocaleScope() {
        if (m_previous.isEmpty())
            qunsetenv("LC_ALL");
        else
            qputenv("LC_ALL", m_previous);
        runtime::Regional::reload();
    }
    LocaleScope(const LocaleScope&) = delete;
    LocaleScope& operator=(const LocaleScope&) = delete;

private:
    QByteArray m_previous;
};
