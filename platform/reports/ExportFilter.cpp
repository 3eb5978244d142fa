#include "ExportFilter.h"

#include "PageProgress_p.h"
#include "Translations_p.h"
#include "WriteFailure.h"

#include <QSaveFile>

#include <cerrno>

namespace reports {

ExportFilter::PageDone ExportFilter::progressFor(const Pages& pages) {
    useTranslations();
    auto progress = std::make_shared<PageProgress>(tr("Exporting page %1 of %2"), int(pages.size()));
    return [progress](qsizetype done) { progress->pageDone(int(done)); };
}

void ExportFilter::save(const std::function<void(QIODevice&)>& write) const {
    if (const QString problem = WriteFailure::foreseen(m_fileName); !problem.isEmpty())
        throw FileWriteError(problem);
    QSaveFile file(m_fileName);
    const auto failed = [this] { return FileWriteError(WriteFailure::reasonOf(m_fileName, errno)); };
    errno = 0;
    if (!file.open(QIODevice::WriteOnly)) throw failed();
    write(file);
    // Buffered writes fail at the latest when flushed; commit() would not always tell. Without
    // a commit the temporary file goes away.
    errno = 0;
    if (!file.flush() || file.error() != QFileDevice::NoError) throw failed();
    if (!file.commit()) throw failed();
}

void ExportFilter::save(const QByteArray& bytes) const {
    save([this, &bytes](QIODevice& file) {
        errno = 0;
        // A short write is a failed one: the system tells why on the write that follows.
        if (file.write(bytes) != bytes.size())
            throw FileWriteError(WriteFailure::reasonOf(m_fileName, errno));
    });
}

} // namespace reports
