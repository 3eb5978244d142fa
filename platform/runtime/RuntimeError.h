#pragma once

#include <QString>

#include <exception>
#include <string>

namespace runtime {

// A run-time error: a number and a description, as the classic runtime's Err object held.
// Database errors carry the engine's own description.
class RuntimeError : public std::exception {
public:
    RuntimeError(long number, QString description = {}, QString source = {});

    long number() const { return m_number; }
    const QString& description() const { return m_description; }
    const QString& source() const { return m_source; }
    const char* what() const noexcept override { return m_what.c_str(); }

private:
    long m_number;
    QString m_description;
    QString m_source;
    std::string m_what;
};

// Well-known error numbers of the runtime.
namespace err {
constexpr long InvalidProcedureCall = 5;
constexpr long Overflow = 6;
constexpr long SubscriptOutOfRange = 9;
constexpr long DivisionByZero = 11;
constexpr long TypeMismatch = 13;
constexpr long FileNotFound = 53;
constexpr long ObjectNotSet = 91;
constexpr long InvalidUseOfNull = 94;
constexpr long CancelError = 32755;         // the save dialog's cancel, when cancel-as-error is set
constexpr long DatabaseError = -2147467259; // a provider error passed through with its text
} // namespace err

// The runtime's own description of an error number ("Subscript out of range").
QString errorDescription(long number);

// Raises the runtime error of that number with its own description.
[[noreturn]] void raise(long number);
[[noreturn]] void raise(long number, const QString& description);

// Ends the program: thrown by End() and unwinds to the top level, past every
// handler that traps RuntimeError, so no further statement or event runs.
class ProgramEnd {};

} // namespace runtime
