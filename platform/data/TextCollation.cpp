#include "TextCollation_p.h"

#include "SqliteValues.h"
#include "runtime/RuntimeError.h"

#include <QString>

#include <sqlite3.h>
#include <unicode/ucol.h>

#include <algorithm>
#include <array>
#include <numeric>
#include <optional>

namespace data {

namespace {

// The rank of each ASCII character in the collator's order (equal ranks for letters that differ
// in case alone), 0 for the characters the collator ignores. In Unicode's root order and in the
// Spanish one each such character is one collation element of its own, all with the same
// secondary weight: texts of them alone compare as their ranks compare, without ICU.
using Ranks = std::array<unsigned char, 128>;

int icuCompare(const UCollator* collator, const char* a, int lengthA, const char* b, int lengthB) {
    UErrorCode status = U_ZERO_ERROR;
    return ucol_strcollUTF8(collator, a, lengthA, b, lengthB, &status);
}

Ranks ranksOf(const UCollator* collator) {
    Ranks ranks{};
    std::array<char, 128> chars;
    std::iota(chars.begin(), chars.end(), char(0));
    auto* end = std::remove_if(chars.begin() + 1, chars.end(), [collator](char c) {
        return icuCompare(collator, &c, 1, "", 0) == UCOL_EQUAL;
    });
    std::sort(chars.begin() + 1, end,
              [collator](char a, char b) { return icuCompare(collator, &a, 1, &b, 1) == UCOL_LESS; });
    unsigned char rank = 0;
    for (auto* c = chars.begin() + 1; c != end; ++c) {
        if (c == chars.begin() + 1 || icuCompare(collator, c - 1, 1, c, 1) != UCOL_EQUAL) ++rank;
        ranks[size_t(*c)] = rank;
    }
    return ranks;
}

class TextCollator {
public:
    explicit TextCollator(TextRules rules) : m_padded(rules == TextRules::SqlServer) {
        UErrorCode status = U_ZERO_ERROR;
        m_collator = ucol_open(rules == TextRules::SqlServer ? "es" : "", &status);
        if (U_SUCCESS(status)) ucol_setStrength(m_collator, UCOL_SECONDARY);
        if (U_FAILURE(status)) {
            ucol_close(m_collator);
            throw runtime::RuntimeError(runtime::err::DatabaseError,
                                        QStringLiteral("The text collation cannot be loaded: %1.")
                                            .arg(QString::fromUtf8(u_errorName(status))));
        }
        m_ranks = ranksOf(m_collator);
    }
    ~TextCollator() { ucol_close(m_collator); }
    TextCollator(const TextCollator&) = delete;
    TextCollator& operator=(const TextCollator&) = delete;

    int compare(const unsigned char* a, int lengthA, const unsigned char* b, int lengthB) const {
        if (m_padded) {
            lengthA = withoutTrailingBlanks(a, lengthA);
            lengthB = withoutTrailingBlanks(b, lengthB);
        }
        if (const auto plain = plainCompare(a, lengthA, b, lengthB)) return *plain;
        return icuCompare(m_collator, reinterpret_cast<const char*>(a), lengthA,
                          reinterpret_cast<const char*>(b), lengthB);
    }

private:
    static int withoutTrailingBlanks(const unsigned char* text, int length) {
        while (length > 0 && text[length - 1] == ' ')
            --length;
        return length;
    }

    unsigned char rank(unsigned char c) const { return c < 0x80 ? m_ranks[c] : 0; }

    bool allRanked(const unsigned char* text, int from, int length) const {
        for (int i = from; i < length; ++i)
            if (!rank(text[i])) return false;
        return true;
    }

    // The order of two texts decided by the ranks of their ASCII characters, when it is.
    std::optional<int> plainCompare(const unsigned char* a, int lengthA, const unsigned char* b,
                                    int lengthB) const {
        const int n = std::min(lengthA, lengthB);
        for (int i = 0; i < n; ++i) {
            const unsigned char x = rank(a[i]), y = rank(b[i]);
            if (!x || !y) return std::nullopt;
            if (x != y) return x < y ? -1 : 1;
        }
        if (!allRanked(a, n, lengthA) || !allRanked(b, n, lengthB)) return std::nullopt;
        return lengthA == lengthB ? 0 : lengthA < lengthB ? -1 : 1;
    }

    UCollator* m_collator = nullptr;
    bool m_padded;
    Ranks m_ranks{};
};

int compareTexts(void* collator, int lengthA, const void* a, int lengthB, const void* b) {
    return static_cast<const TextCollator*>(collator)->compare(static_cast<const unsigned char*>(a), lengthA,
                                                               static_cast<const unsigned char*>(b), lengthB);
}

void destroyCollator(void* collator) {
    delete static_cast<TextCollator*>(collator);
}

bool sameLetter(QChar a, QChar b) {
    return a == b || a.toCaseFolded() == b.toCaseFolded();
}

// A LIKE pattern matched against a text, one character at a time; % backtracks.
class LikePattern {
public:
    LikePattern(QStringView pattern, QChar escape, bool hasEscape)
        : m_p(pattern), m_escape(escape), m_hasEscape(hasEscape) {}

    bool matches(QStringView s) const {
        int pi = 0, si = 0, starP = -1, starS = 0;
        while (si < s.size()) {
            if (pi < m_p.size() && isPercent(pi)) {
                starP = ++pi;
                starS = si;
                continue;
            }
            const int length = pi < m_p.size() ? matchOne(pi, s[si]) : 0;
            if (length > 0) {
                pi += length;
                ++si;
            } else if (starP >= 0) {
                pi = starP;
                si = ++starS;
            } else {
                return false;
            }
        }
        while (pi < m_p.size() && isPercent(pi))
            ++pi;
        return pi == m_p.size();
    }

private:
    bool isEscape(int pi) const { return m_hasEscape && m_p[pi] == m_escape && pi + 1 < m_p.size(); }
    bool isPercent(int pi) const { return m_p[pi] == u'%' && !(pi > 0 && isEscape(pi - 1)); }

    // The length of the pattern element at pi when it matches c, else 0.
    int matchOne(int pi, QChar c) const {
        if (isEscape(pi)) return sameLetter(m_p[pi + 1], c) ? 2 : 0;
        if (m_p[pi] == u'_') return 1;
        if (m_p[pi] == u'[') {
            const int close = int(m_p.indexOf(u']', pi + 2));
            if (close > pi + 1) return inSet(m_p.mid(pi + 1, close - pi - 1), c) ? close - pi + 1 : 0;
        }
        return sameLetter(m_p[pi], c) ? 1 : 0;
    }

    static bool inSet(QStringView set, QChar c) {
        const bool negated = set.startsWith(u'^') && set.size() > 1;
        if (negated) set = set.mid(1);
        bool found = false;
        for (int i = 0; i < set.size() && !found; ++i) {
            if (i + 2 < set.size() && set[i + 1] == u'-') {
                const QChar folded = c.toCaseFolded();
                found = folded >= set[i].toCaseFolded() && folded <= set[i + 2].toCaseFolded();
                i += 2;
            } else {
                found = sameLetter(set[i], c);
            }
        }
        return found != negated;
    }

    QStringView m_p;
    QChar m_escape;
    bool m_hasEscape;
};

// like(pattern, text[, escape]), as SQLite calls it for "text LIKE pattern [ESCAPE e]".
void likeFunction(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    for (int i = 0; i < argc; ++i) {
        if (sqlite3_value_type(argv[i]) == SQLITE_NULL) {
            sqlite3_result_null(ctx);
            return;
        }
    }
    const QString escape = argc == 3 ? valueText(argv[2]) : QString();
    if (argc == 3 && escape.size() != 1) {
        sqlite3_result_error(ctx, "Invalid escape character in a LIKE predicate.", -1);
        return;
    }
    const QString pattern = valueText(argv[0]);
    const LikePattern like(pattern, escape.isEmpty() ? QChar() : escape[0], argc == 3);
    sqlite3_result_int(ctx, like.matches(valueText(argv[1])) ? 1 : 0);
}

} // namespace

void registerTextCollation(sqlite3* db, const char* name, TextRules rules) {
    auto* collator = new TextCollator(rules);
    if (sqlite3_create_collation_v2(db, name, SQLITE_UTF8, collator, compareTexts, destroyCollator) !=
        SQLITE_OK)
        delete collator;
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    sqlite3_create_function(db, "like", 2, flags, nullptr, likeFunction, nullptr, nullptr);
    sqlite3_create_function(db, "like", 3, flags, nullptr, likeFunction, nullptr, nullptr);
}

} // namespace data
