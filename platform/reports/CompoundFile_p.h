#pragma once

#include <QByteArray>
#include <QString>

namespace reports {

// A compound file (the container of the legacy office formats) holding one stream; the
// stream is padded to 4096 bytes so that it lives in ordinary sectors.
QByteArray compoundFile(const QString& streamName, QByteArray stream);

} // namespace reports
