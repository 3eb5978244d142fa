#pragma once

#include <QString>

namespace framework {

// LeeIni: the value of a key in a "key|value" file whose path is the program's folder
// followed by archivo, or defecto when the file or the key is missing. Lines end at CR or
// CR LF; keys match without regard to case, the first line wins; nothing is trimmed; a
// line without "|" holds no key; "vbcrlf" in a value becomes a line break.
QString LeeIni(const QString& archivo, const QString& clave, const QString& defecto);

} // namespace framework
