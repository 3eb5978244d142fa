#include "ExportFilter.h"

#include "runtime/RuntimeError.h"

#include <QFile>

namespace reports {

namespace {
constexpr long PathFileAccessError = 75;
}

void ExportFilter::openFile(QFile& file) const {
    if (m_fileName.isEmpty()) runtime::raise(PathFileAccessError, QStringLiteral("Path/File access error"));
    file.setFileName(m_fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        runtime::raise(PathFileAccessError, QStringLiteral("Path/File access error"));
}

void ExportFilter::writeFailed(QFile& file) const {
    file.close();
    runtime::raise(PathFileAccessError, QStringLiteral("Path/File access error"));
}

} // namespace reports
