#include "ExportFilter.h"

#include "runtime/RuntimeError.h"

#include <QSaveFile>

namespace reports {

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
