#pragma once

namespace data {

// Error numbers of the data-access layer itself, with the descriptions ADO gives them.
namespace adoError {
constexpr long NoCurrentRecord = 3021;     // Either BOF or EOF is True...
constexpr long NotUpdatable = 3251;        // Current Recordset does not support updating...
constexpr long ItemNotFound = 3265;        // Item cannot be found in the collection...
constexpr long ObjectClosed = 3704;        // Operation is not allowed when the object is closed.
constexpr long ObjectOpen = 3705;          // Operation is not allowed when the object is open.
constexpr long ProviderNotFound = 3706;    // Provider cannot be found...
constexpr long ConnectionNotUsable = 3709; // The connection cannot be used to perform this operation...
} // namespace adoError

// Raises one of the errors above with its description.
[[noreturn]] void raiseAdo(long number);

} // namespace data
