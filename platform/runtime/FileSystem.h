#pragma once

#include <QString>

namespace runtime {

// Paths are built in the Windows style ("C:\pos" + "\db\db.mdb", with "\..\..\"
// and doubled separators). localPath maps such a text to this file system: "\" becomes
// "/", doubled separators collapse, "." and ".." resolve, and a component that does not
// exist with that letter case is looked up without regard to case.
QString localPath(const QString& path);

// Whether an ordinary file exists under the path (Dir(path) <> ""): hidden files count
// as missing.
bool isOrdinaryFile(const QString& path);

// Appends one line ended by CR LF, opening and closing the file; returns false on failure.
bool appendLine(const QString& path, const QString& line);

} // namespace runtime
