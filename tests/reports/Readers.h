#pragma once

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <optional>

// Runs a reader program on a file and returns what it prints; nothing when the program
// is not installed.
inline std::optional<QString> runReader(const QString& program, const QStringList& arguments) {
    const QString path = program.startsWith(u'/') ? program : QStandardPaths::findExecutable(program);
    if (path.isEmpty() || !QFile::exists(path)) return std::nullopt;
    QProcess process;
    process.start(path, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return QStringLiteral("<reader failed: %1>").arg(QString::fromUtf8(process.readAllStandardError()));
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The cells of a BIFF8 workbook as "sheet|row|column|type|value" lines, read with xlrd
// (Debian's python3-xlrd belongs to /usr/bin/python3).
inline std::optional<QString> readXls(const QString& file) {
    const QString script =
        QStringLiteral("import sys\n"
                       "try:\n"
                       "    import xlrd\n"
                       "except ImportError:\n"
                       "    sys.exit(3)\n"
                       "book = xlrd.open_workbook(sys.argv[1])\n"
                       "for sheet in book.sheets():\n"
                       "    for r in range(sheet.nrows):\n"
                       "        for c in range(sheet.ncols):\n"
                       "            cell = sheet.cell(r, c)\n"
                       "            if cell.ctype != 0:\n"
                       "                print('%s|%d|%d|%s|%s' % (sheet.name, r, c, 'n' "
                       "if cell.ctype == 2 else 'd' if cell.ctype == 3 else 's', cell.value))\n");
    if (!QFile::exists(QStringLiteral("/usr/bin/python3"))) return std::nullopt;
    QProcess process;
    process.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), script, file});
    process.waitForFinished(60000);
    if (process.exitCode() == 3) return std::nullopt;
    if (process.exitCode() != 0)
        return QStringLiteral("<xlrd failed: %1>").arg(QString::fromUtf8(process.readAllStandardError()));
    return QString::fromUtf8(process.readAllStandardOutput());
}

// Converts a file with LibreOffice, headless and with a profile of its own (so that tests may
// run side by side), into the file's folder: the file written, empty when the conversion
// failed, nothing when LibreOffice is not installed. The filter is --convert-to's argument.
inline std::optional<QString> convertWithOffice(const QString& file, const QString& filter) {
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (soffice.isEmpty()) return std::nullopt;
    QTemporaryDir profile;
    const QFileInfo info(file);
    QProcess process;
    process.start(soffice, {QStringLiteral("-env:UserInstallation=file://") + profile.path(),
                            QStringLiteral("--headless"), QStringLiteral("--convert-to"), filter,
                            QStringLiteral("--outdir"), info.absolutePath(), info.absoluteFilePath()});
    if (!process.waitForFinished(240000)) {
        process.kill();
        process.waitForFinished();
        return QString();
    }
    const QString converted =
        info.absolutePath() + u'/' + info.completeBaseName() + u'.' + filter.section(u':', 0, 0);
    return process.exitCode() == 0 && QFile::exists(converted) ? converted : QString();
}

// The rows of a workbook's first sheet as LibreOffice shows them under the process locale:
// each row's cells as they are displayed, those not empty joined by blanks. Nothing when
// LibreOffice is not installed; a row "<conversion failed>" when it fails.
inline std::optional<QStringList> shownSheetRows(const QString& xls) {
    // Tab-separated, UTF-8, each cell's contents as shown.
    const auto csv = convertWithOffice(
        xls, QStringLiteral("csv:Text - txt - csv (StarCalc):9,34,76,1,,0,false,true,true"));
    if (!csv) return std::nullopt;
    QFile file(*csv);
    if (csv->isEmpty() || !file.open(QIODevice::ReadOnly))
        return QStringList{QStringLiteral("<conversion failed>")};
    QStringList rows;
    for (const QString& line : QString::fromUtf8(file.readAll()).split(u'\n')) {
        QStringList cells;
        for (QString cell : line.split(u'\t')) {
            if (cell.size() >= 2 && cell.startsWith(u'"') && cell.endsWith(u'"'))
                cell = cell.mid(1, cell.size() - 2).replace(QStringLiteral("\"\""), QStringLiteral("\""));
            if (!cell.isEmpty()) cells << cell;
        }
        rows << cells.join(u' ');
    }
    while (!rows.isEmpty() && rows.last().isEmpty())
        rows.removeLast();
    return rows;
}
