#pragma once

struct sqlite3;

namespace data {

// Registers on a SQLite connection the Jet functions that the translated texts call:
// jet_cat (the "&" join), jet_val, jet_hour, jet_datevalue, jet_instr, the aggregates
// jet_first and jet_last.
void registerJetFunctions(sqlite3* db);

} // namespace data
