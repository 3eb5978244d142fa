#pragma once

#include <QString>

#include <exception>
#include <string>

namespace runtime {

// A run-time error: its number, its description and where it was raised.
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

// An error of the list below: its number and the description it is raised with. It
// reads as its number where a number is expected.
struct Error {
    long number;
    const char* description;
    constexpr operator long() const { return number; }
};

// Every error the platform raises, each with its description. A number may appear twice
// when a control describes it in its own words.
namespace err {
// The runtime's.
inline constexpr Error ReturnWithoutGoSub{3, "Return without GoSub"};
inline constexpr Error InvalidProcedureCall{5, "Invalid procedure call or argument"};
inline constexpr Error Overflow{6, "Overflow"};
inline constexpr Error OutOfMemory{7, "Out of memory"};
inline constexpr Error SubscriptOutOfRange{9, "Subscript out of range"};
inline constexpr Error InternalError{51, "Internal error"}; // an exception of the code itself
inline constexpr Error DivisionByZero{11, "Division by zero"};
inline constexpr Error TypeMismatch{13, "Type mismatch"};
inline constexpr Error BadFileNameOrNumber{52, "Bad file name or number"};
inline constexpr Error FileNotFound{53, "File not found"};
inline constexpr Error DeviceIOError{57, "Device I/O error"};
inline constexpr Error DiskFull{61, "Disk full"};
inline constexpr Error InputPastEndOfFile{62, "Input past end of file"};
inline constexpr Error PermissionDenied{70, "Permission denied"};
inline constexpr Error PathFileAccessError{75, "Path/File access error"};
inline constexpr Error PathNotFound{76, "Path not found"};
inline constexpr Error ObjectNotSet{91, "Object variable or With block variable not set"};
inline constexpr Error InvalidUseOfNull{94, "Invalid use of Null"};
inline constexpr Error InvalidPropertyValue{380, "Invalid property value"};
inline constexpr Error InvalidPropertyArrayIndex{381, "Invalid property array index"};
inline constexpr Error FormAlreadyDisplayed{400, "Form already displayed; can't show modally"};
inline constexpr Error ObjectRequired{424, "Object required"};
inline constexpr Error NotSupported{438, "Object doesn't support this property or method"};
// The controls'.
inline constexpr Error GridSubscriptOutOfRange{381, "Subscript out of range"};
inline constexpr Error InvalidRowValue{30009, "Invalid Row value"};
inline constexpr Error InvalidColValue{30010, "Invalid Col value"};
inline constexpr Error InvalidFixedRowsValue{30011, "Invalid FixedRows value"};
inline constexpr Error CancelError{32755, "Cancel was selected."}; // the save dialog's cancel, when asked for
inline constexpr Error IndexOutOfBounds{35600, "Index out of bounds"};
inline constexpr Error ElementNotFound{35601, "Element not found"};
inline constexpr Error KeyNotUnique{35602, "Key is not unique in collection"};
// The data-access layer's.
inline constexpr Error NoCurrentRecord{3021,
                                       "Either BOF or EOF is True, or the current record has been deleted. "
                                       "Requested operation requires a current record."};
inline constexpr Error NotUpdatable{3251,
                                    "Current Recordset does not support updating. This may be a limitation "
                                    "of the provider, or of the selected locktype."};
inline constexpr Error ItemNotFound{
    3265, "Item cannot be found in the collection corresponding to the requested name or ordinal."};
inline constexpr Error ObjectClosed{3704, "Operation is not allowed when the object is closed."};
inline constexpr Error ObjectOpen{3705, "Operation is not allowed when the object is open."};
inline constexpr Error ProviderNotFound{3706, "Provider cannot be found. It may not be properly installed."};
inline constexpr Error ConnectionNotUsable{3709,
                                           "The connection cannot be used to perform this operation. It is "
                                           "either closed or invalid in this context."};
// A provider's error, mostly raised with the database engine's own text.
inline constexpr Error DatabaseError{-2147467259, "Unspecified error"};
inline constexpr Error NoDataSourceName{-2147467259,
                                        "Data source name not found and no default driver specified"};
inline constexpr Error NotAnUpdatableQuery{-2147467259, "Operation must use an updateable query."};
} // namespace err

// The runtime's own description of an error number ("Subscript out of range").
QString errorDescription(long number);

// Raises an error of the list above with its description.
[[noreturn]] void raise(const Error& error);
// Raises the error of that number with the runtime's description of it, or with another.
[[noreturn]] void raise(long number);
[[noreturn]] void raise(long number, const QString& description);

// The result of Double arithmetic as the runtime delivers it: an infinity or NaN raises
// 6 Overflow.
double checkedDouble(double value);

// Ends the program: thrown by End() and unwinds to the top level, past every
// handler that traps RuntimeError, so no further statement or event runs.
class ProgramEnd {};

} // namespace runtime
