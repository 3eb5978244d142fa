#pragma once

#include "runtime/RuntimeError.h"

#include <QCoreApplication>
#include <QString>

namespace reports {

// Error 75 of a file that an export could not write, with the reason in the user's words.
class FileWriteError : public runtime::RuntimeError {
public:
    explicit FileWriteError(QString reason);
    const QString& reason() const { return m_reason; }

private:
    QString m_reason;
};

// Why an export or a print could not write its file, and the messages that tell the user.
class WriteFailure {
    Q_DECLARE_TR_FUNCTIONS(reports::WriteFailure)

public:
    // What keeps a file from being written, as far as can be told before writing it: a folder
    // that is missing or may not be written to, a file that another program holds locked or
    // that is read-only. Empty when none of these.
    static QString foreseen(const QString& fileName);
    // Why writing a file failed, from the system's error number of the failed write (0 when
    // unknown).
    static QString reasonOf(const QString& fileName, int errorNumber);

    // A failed export: the file and the reason (a FileWriteError's, else the error's
    // description).
    static QString exportMessage(const QString& fileName, const runtime::RuntimeError& error);
    // A failed print: the printer or file, and the reason.
    static QString printMessage(const QString& target, const QString& reason);
    // The reasons of a print that the printer refused and of a file that could not be written.
    static QString printerRefused();
    static QString notWritten();
};

} // namespace reports
