#include "WriteFailure.h"

#include "Translations_p.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

namespace reports {

FileWriteError::FileWriteError(QString reason)
    : RuntimeError(runtime::err::PathFileAccessError.number,
                   QString::fromLatin1(runtime::err::PathFileAccessError.description)),
      m_reason(std::move(reason)) {}

namespace {

// Whether a process other than this open file's holds a lock on any part of the file.
bool lockedByAnother(const QString& fileName) {
    const int fd = ::open(QFile::encodeName(fileName).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct flock lock {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    const bool locked = ::fcntl(fd, F_OFD_GETLK, &lock) == 0 && lock.l_type != F_UNLCK;
    ::close(fd);
    return locked;
}

} // namespace

QString WriteFailure::foreseen(const QString& fileName) {
    useTranslations();
    if (fileName.isEmpty()) return tr("no file was named");
    const QFileInfo file(fileName);
    const QString folder = file.absolutePath();
    if (!QFileInfo(folder).isDir()) return tr("the folder does not exist");
    if (::access(QFile::encodeName(folder).constData(), W_OK | X_OK) != 0)
        return tr("you may not write in the folder");
    if (file.exists()) {
        if (file.isDir()) return tr("a folder has that name");
        if (lockedByAnother(fileName)) return tr("another program holds the file locked");
        if (!file.isWritable()) return tr("the file is read-only");
    }
    return {};
}

QString WriteFailure::reasonOf(const QString& fileName, int errorNumber) {
    useTranslations();
    switch (errorNumber) {
    case ENOSPC:
    case EDQUOT:
        return tr("the disk is full");
    case EFBIG:
        return tr("the file is too large for the disk");
    case EROFS:
        return tr("the disk is read-only");
    case EIO:
        return tr("the disk could not be written");
    default:
        break;
    }
    if (QString problem = foreseen(fileName); !problem.isEmpty()) return problem;
    return errorNumber ? QString::fromLocal8Bit(std::strerror(errorNumber)) : notWritten();
}

QString WriteFailure::exportMessage(const QString& fileName, const runtime::RuntimeError& error) {
    useTranslations();
    const auto* failure = dynamic_cast<const FileWriteError*>(&error);
    return tr("The report could not be exported to \"%1\": %2.")
        .arg(fileName, failure ? failure->reason() : error.description());
}

QString WriteFailure::printMessage(const QString& target, const QString& reason) {
    useTranslations();
    return tr("The report could not be printed on \"%1\": %2.").arg(target, reason);
}

QString WriteFailure::printerRefused() {
    useTranslations();
    return tr("the printer did not take it");
}

QString WriteFailure::notWritten() {
    useTranslations();
    return tr("the file could not be written");
}

} // namespace reports
