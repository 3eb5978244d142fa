#pragma once

#include "PageModel.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QString>

#include <functional>

class QIODevice;

namespace reports {

// An export filter, created for one export: given a file name, it writes a report's
// pages to that file. Failures raise error 75 as a FileWriteError that gives the reason.
class ExportFilter {
    Q_DECLARE_TR_FUNCTIONS(reports::ExportFilter)

public:
    virtual ~ExportFilter() = default;

    const QString& fileName() const { return m_fileName; }
    void setFileName(const QString& fileName) { m_fileName = fileName; }

    virtual void exportPages(const Pages& pages) = 0;

    // Told each page written, from 1.
    using PageDone = std::function<void(qsizetype)>;

protected:
    // A progress for writing these pages: shown for a long report.
    static PageDone progressFor(const Pages& pages);

    // Writes the file through a temporary file in its folder, which replaces it only when every
    // write succeeded; otherwise error 75 (a FileWriteError), and an earlier file of the name
    // stays as it was. A file that another program holds locked is not replaced.
    void save(const std::function<void(QIODevice&)>& write) const;
    void save(const QByteArray& bytes) const;

private:
    QString m_fileName;
};

} // namespace reports
