#pragma once

struct sqlite3;

namespace data {

// The collation of Jet's comparisons of texts: without regard to case, for all of Unicode.
inline constexpr const char* jetNoCaseCollation = "jet_nocase";

// Registers on a SQLite connection the Jet functions that the translated texts call:
// jet_cat (the "&" join), jet_val, jet_hour, jet_datevalue, jet_instr, the aggregates
// jet_first and jet_last, and the jet_nocase collation.
void registerJetFunctions(sqlite3* db);

} // namespace data
