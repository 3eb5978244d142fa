#pragma once

struct sqlite3;

namespace data {

// How a database compares and orders texts. Both are case-insensitive for every letter and
// accent-sensitive, accented letters ordered beside their base letter.
enum class TextRules {
    Jet,      // Jet's General sort order: Unicode's root order
    SqlServer // Modern_Spanish_CI_AS: ñ a letter of its own after n, trailing blanks not counted
};

// Registers on a connection a collation of that name that compares texts by rules (an ICU
// collator, never stored in the file), and a LIKE that matches letters without regard to case
// (% any run, _ any one character, [abc], [a-c] and [^abc] sets; blanks count).
void registerTextCollation(sqlite3* db, const char* name, TextRules rules);

} // namespace data
