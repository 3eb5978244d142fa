#include "IniFile.h"

#include "runtime/FileSystem.h"
#include "runtime/Program.h"

#include <QFile>
#include <QStringDecoder>

namespace framework {

namespace {

// The file's text: UTF-8 when its bytes are valid UTF-8, else the Windows code page of the
// files the point-of-sale system writes.
QString decode(const QByteArray& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError()) return text;
    QStringDecoder decoder("windows-1252");
    if (decoder.isValid()) return decoder.decode(bytes);
    return QString::fromLatin1(bytes);
}

} // namespace

QString LeeIni(const QString& archivo, const QString& clave, const QString& defecto) {
    const QString path = runtime::App::path() + archivo;
    if (!runtime::isOrdinaryFile(path)) return defecto;
    QFile file(runtime::localPath(path));
    if (!file.open(QIODevice::ReadOnly)) return defecto;
    const QString text = decode(file.readAll());
    file.close();

    const QString wanted = clave.toUpper();
    int start = 0;
    while (start < text.size()) {
        // A line ends at CR (a LF right after it belongs to the ending); a lone LF does not end it.
        int end = text.indexOf(QLatin1Char('\r'), start);
        if (end < 0) end = text.size();
        const QString line = text.mid(start, end - start);
        start = end + 1;
        if (start < text.size() && end < text.size() && text[start] == QLatin1Char('\n')) ++start;

        const QStringList pieces = line.split(QLatin1Char('|'));
        if (!line.isEmpty() && pieces.size() < 2) continue; // no "|": no key on this line
        const QString key = line.isEmpty() ? QString() : pieces[0];
        if (key.toUpper() == wanted)
            return QString(line.isEmpty() ? QString() : pieces[1])
                .replace(QLatin1String("vbcrlf"), QLatin1String("\r\n"));
    }
    return defecto;
}

} // namespace framework
