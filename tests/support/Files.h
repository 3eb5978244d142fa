#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>

// The contents of a file; empty when it cannot be read.
inline QByteArray fileContents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The lines of the error logs ("ErrorLog*.log") in a folder, file after file.
inline QStringList errorLogLines(const QString& folder) {
    QStringList lines;
    for (const QString& name : QDir(folder).entryList({QStringLiteral("ErrorLog*.log")}))
        lines += QString::fromUtf8(fileContents(folder + u'/' + name))
                     .split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    return lines;
}
