#include "FileSystem.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace runtime {

namespace {

// Finds each missing component of an absolute path without regard to letter case.
QString matchCase(const QString& path) {
    if (QFileInfo::exists(path) || !path.startsWith(QLatin1Char('/'))) return path;
    const QStringList parts = path.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    QString current = QStringLiteral("/");
    for (int i = 0; i < parts.size(); ++i) {
        QString candidate =
            current + (current.endsWith(QLatin1Char('/')) ? QString() : QStringLiteral("/")) + parts[i];
        if (!QFileInfo::exists(candidate)) {
            const QStringList entries = QDir(current).entryList(QDir::AllEntries | QDir::Hidden |
                                                                QDir::System | QDir::NoDotAndDotDot);
            auto match = std::find_if(entries.begin(), entries.end(), [&](const QString& entry) {
                return entry.compare(parts[i], Qt::CaseInsensitive) == 0;
            });
            if (match == entries.end()) return path;
            candidate =
                current + (current.endsWith(QLatin1Char('/')) ? QString() : QStringLiteral("/")) + *match;
        }
        current = candidate;
    }
    return current;
}

} // namespace

QString localPath(const QString& path) {
    QString p = path;
    p.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (p.isEmpty()) return p;
    return matchCase(QDir::cleanPath(p));
}

bool isOrdinaryFile(const QString& path) {
    if (path.isEmpty()) return false;
    QFileInfo info(localPath(path));
    return info.isFile() && !info.isHidden();
}

bool appendLine(const QString& path, const QString& line) {
    QFile file(localPath(path));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append)) return false;
    QByteArray bytes = line.toUtf8();
    bytes += "\r\n";
    bool ok = file.write(bytes) == bytes.size();
    file.close();
    return ok;
}

} // namespace runtime
