#pragma once

#include "PageModel.h"

#include <QString>

class QFile;

namespace reports {

// An export filter, created for one export: given a file name, it writes a report's
// pages to that file. Failures raise a run-time error.
class ExportFilter {
public:
    virtual ~ExportFilter() = default;

    const QString& fileName() const { return m_fileName; }
    void setFileName(const QString& fileName) { m_fileName = fileName; }

    virtual void exportPages(const Pages& pages) = 0;

protected:
    // Opens the file for writing, truncated; error 75 when it cannot be written.
    void openFile(QFile& file) const;
    // Error 75 after a failed write.
    void writeFailed(QFile& file) const;

private:
    QString m_fileName;
};

} // namespace reports
