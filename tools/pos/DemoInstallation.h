#pragma once

#include <QString>

// A whole point-of-sale installation with the trade of a restaurant, for the demo and the
// benchmarks:
//   <folder>/bases.ini                 "Directorio|<folder>"
//   <folder>/db/db.mdb                 menu (some dishes off it), tables, waiters, users, shifts, sales
//                                      with their discounts and options, deletions, audit
//   <folder>/spooler.mdb               tmpreport, empty
//   <folder>/reportes/quenbrook        the program folder (empty; the program is copied there)
// The same options and seed give the same data, placed relative to the last day.
namespace demo {

struct Options {
    int days = 28;      // days of trade, two shifts a day, ending on lastDay
    int sales = 0;      // sales in all; 0 gives about 34 a shift
    unsigned seed = 1;  // of the pseudo-random choices
    double lastDay = 0; // date serial of the last day; 0 means today
    bool sqlServer =
        false; // also db/pos.mdf for the embedded SQL Server engine, named by bases.ini (DBKIND|2)
};

// What was written.
struct Counts {
    int shifts = 0;
    int sales = 0;
    int lines = 0;
    int discounts = 0;  // discount lines (product -7)
    int deletions = 0;  // rows of deleted items (not counting the motive rows)
    int motiveRows = 0; // "ITEM" rows
    int voided = 0;
    int replaced = 0; // voided sales replaced by another
    int open = 0;     // sales still open
    int audits = 0;   // auditoria rows of code 21
    int withoutCashDate = 0;
};

// The users of the installation: name and password of the administrator and of the cashier
// who may see reports.
constexpr const char* AdminUser = "admin";
constexpr const char* AdminPassword = "";
constexpr const char* CashierUser = "laura";
constexpr const char* CashierPassword = "1234";

// The program folder of the installation (two levels below it, as bases.ini is found from there).
QString programFolder(const QString& folder);

// Writes the installation; existing files of the same names are replaced. Throws
// runtime::RuntimeError when a file cannot be written.
Counts makeInstallation(const QString& folder, const Options& options);

} // namespace demo
