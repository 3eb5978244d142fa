#include "ExportFilter.h"

#include "PageProgress.h"

#include "runtime/RuntimeError.h"

#include <QSaveFile>

namespace reports {

ExportFilter::PageDone ExportFilter::progressFor(const Pages& pages) {
    auto progress =
        std::make_shared<PageProgress>(QStringLiteral("Exporting page %1 of %2"), int(pages.size()));
    return [progress](qsizetype done) { progress->pageDone(int(done)); };
}

namespace {

[[noreturn]] void accessError() {
    runtime::raise(runtime::err::PathFileAccessError);
}

} // namespace

void ExportFilter::save(const std::function<void(QIODevice&)>& write) const {
    if (m_fileName.isEmpty()) accessError();
    QSaveFile file(m_fileName);
    if (!file.open(QIODevice::WriteOnly)) accessError();
    write(file);
    // Buffered writes fail at the latest when flushed; commit() would not always tell. Without
    // a commit the temporary file goes away.
    if (!file.flush() || file.error() != QFileDevice::NoError || !file.commit()) accessError();
}

void ExportFilter::save(const QByteArray& bytes) const {
    save([&bytes](QIODevice& file) {
        if (file.write(bytes) != bytes.size()) accessError();
    });
}

} // namespace reports
