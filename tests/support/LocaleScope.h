#pragma once

#include "runtime/Regional.h"

#include <QByteArray>
#include <QLocale>

#include <clocale>
#include <string>

// Puts the process under a locale for the scope's lifetime as if it had started under it:
// the environment, the C library's locale (QApplication sets it from the environment at
// start-up), Qt's default locale and the regional settings.
class LocaleScope {
public:
    explicit LocaleScope(const char* locale)
        : m_previous(qgetenv("LC_ALL")), m_previousC(std::setlocale(LC_ALL, nullptr)) {
        qputenv("LC_ALL", locale);
        std::setlocale(LC_ALL, locale);
        QLocale::setDefault(QLocale(QString::fromLatin1(locale).section(QLatin1Char('.'), 0, 0)));
        runtime::Regional::reload();
    }
    ~LocaleScope() {
        if (m_previous.isEmpty())
            qunsetenv("LC_ALL");
        else
            qputenv("LC_ALL", m_previous);
        std::setlocale(LC_ALL, m_previousC.c_str());
        QLocale::setDefault(m_previousDefault);
        runtime::Regional::reload();
    }
    LocaleScope(const LocaleScope&) = delete;
    LocaleScope& operator=(const LocaleScope&) = delete;

private:
    QByteArray m_previous;
    std::string m_previousC;
    QLocale m_previousDefault;
};
