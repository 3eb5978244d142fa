#pragma once

#include "PageModel.h"

#include <QByteArray>
#include <QString>

#include <functional>

class QIODevice;

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
    // Writes the file through a temporary file in its folder, which replaces it only when every
    // write succeeded; otherwise error 75, and an earlier file of the name stays as it was.
    void save(const std::function<void(QIODevice&)>& write) const;
    void save(const QByteArray& bytes) const;

private:
    QString m_fileName;
};

} // namespace reports
