#include "TextComparisons_p.h"

namespace data::sql {

namespace {

bool isComparisonSymbol(const SqlToken& t) {
    return isComparison(t) && t.kind == SqlToken::Symbol;
}

// Marks the tokens after which a COLLATE clause goes.
class Collator {
public:
    Collator(const Tokens& t, const Typer& typer) : m_t(t), m_typer(typer), m_after(int(t.size()), false) {}

    void scan() {
        const int assignments =
            !m_t.isEmpty() && isWord(m_t[0], QLatin1String("update")) ? setClauseEnd() : 0;
        for (int i = 0; i < m_t.size(); ++i) {
            if (isComparisonSymbol(m_t[i]) && i >= assignments)
                comparison(i);
            else if (isWord(m_t[i], QLatin1String("in")) || isWord(m_t[i], QLatin1String("between")))
                leftOperand(i);
            else if (i + 1 < m_t.size() && isWord(m_t[i + 1], QLatin1String("by")) &&
                     (isWord(m_t[i], QLatin1String("group")) ||
                      (isWord(m_t[i], QLatin1String("order")) && !endsCompound(i))))
                keys(i + 2);
            else if ((isWord(m_t[i], QLatin1String("min")) || isWord(m_t[i], QLatin1String("max"))) &&
                     isCall(m_t, i))
                aggregate(i);
        }
    }

    Tokens output(const QString& collation) const {
        Tokens out;
        out.reserve(m_t.size());
        for (int i = 0; i < m_t.size(); ++i) {
            out.append(m_t[i]);
            if (m_after[i]) out << word(QStringLiteral("COLLATE")) << word(collation);
        }
        return out;
    }

private:
    // The index of the WHERE of an UPDATE: the "=" of its SET clause assign.
    int setClauseEnd() const {
        for (int i = 0; i < m_t.size(); ++i)
            if (isWord(m_t[i], QLatin1String("where"))) return i;
        return int(m_t.size());
    }

    // Whether the ORDER BY at i sorts a UNION: its keys are result columns, which SQLite sorts in
    // the collation of the first SELECT's column (and a COLLATE there upsets its GROUP BY).
    bool endsCompound(int i) const {
        for (int depth = 0; --i >= 0;) {
            depth += isSymbol(m_t[i], QLatin1String(")")) ? 1 : isSymbol(m_t[i], QLatin1String("(")) ? -1 : 0;
            if (depth < 0) return false;
            if (depth == 0 && isWord(m_t[i], QLatin1String("union"))) return true;
        }
        return false;
    }

    bool mayBeText(int begin, int end) const {
        return begin >= 0 && end > begin && !isNonText(m_typer.of(m_t.mid(begin, end - begin)));
    }

    void comparison(int i) {
        const int leftEnd = i - 1;
        const int leftBegin = operandBegin(m_t, leftEnd);
        const int rightEnd = operandEnd(m_t, i + 1);
        if (!mayBeText(leftBegin, leftEnd + 1) || !mayBeText(i + 1, rightEnd)) return;
        m_after[leftEnd] = true;
        m_after[rightEnd - 1] = true;
    }

    // x [NOT] IN (...), x [NOT] BETWEEN a AND b: the collation of x governs.
    void leftOperand(int i) {
        int end = i - 1;
        if (end >= 0 && isWord(m_t[end], QLatin1String("not"))) --end;
        const int begin = operandBegin(m_t, end);
        if (mayBeText(begin, end + 1)) m_after[end] = true;
    }

    void aggregate(int i) {
        const int close = matchingParen(m_t, i + 1);
        if (close > i + 2 && mayBeText(i + 2, close)) m_after[close - 1] = true;
    }

    // The keys of ORDER BY or GROUP BY from begin to the end of the clause.
    void keys(int begin) {
        int depth = 0;
        int key = begin;
        for (int i = begin; i <= m_t.size(); ++i) {
            const bool atEnd = i == m_t.size() || endsKeys(m_t[i], depth);
            if (i < m_t.size() && isSymbol(m_t[i], QLatin1String("("))) ++depth;
            if (i < m_t.size() && isSymbol(m_t[i], QLatin1String(")"))) --depth;
            if (atEnd || (depth == 0 && isSymbol(m_t[i], QLatin1String(",")))) {
                this->key(key, i);
                key = i + 1;
            }
            if (atEnd) return;
        }
    }

    static bool endsKeys(const SqlToken& t, int depth) {
        if (depth == 0 && isSymbol(t, QLatin1String(")"))) return true;
        return depth == 0 && (isWord(t, QLatin1String("having")) || isWord(t, QLatin1String("order")) ||
                              isWord(t, QLatin1String("union")) || isWord(t, QLatin1String("limit")) ||
                              isSymbol(t, QLatin1String(";")));
    }

    void key(int begin, int end) {
        if (end > begin &&
            (isWord(m_t[end - 1], QLatin1String("asc")) || isWord(m_t[end - 1], QLatin1String("desc"))))
            --end;
        if (mayBeText(begin, end)) m_after[end - 1] = true;
    }

    const Tokens& m_t;
    const Typer& m_typer;
    QVector<bool> m_after;
};

} // namespace

Tokens collateTexts(const Tokens& t, const Typer& typer, const QString& collation) {
    Collator collator(t, typer);
    collator.scan();
    return collator.output(collation);
}

} // namespace data::sql
