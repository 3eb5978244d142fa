#include "ExportFilter.h"

#include "runtime/RuntimeError.h"

#include <QFile>

namespace reports {

void ExportFilter::openFile(QFile& file) const {
    if (m_fileName.isEmpty()) runtime::raise(runtime::err::PathFileAccessError);
    file.setFileName(m_fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        runtime::raise(runtime::err::PathFileAccessError);
}

void ExportFilter::writeFailed(QFile& file) const {
    file.close();
    runtime::raise(runtime::err::PathFileAccessError);
}

} // namespace reports
