#include "JetFunctions.h"

#include "SqliteValues.h"
#include "runtime/DateSerial.h"
#include "runtime/Regional.h"
#include "runtime/RuntimeError.h"
#include "runtime/Variant.h"

#include <sqlite3.h>

#include <algorithm>
#include <optional>

namespace data {

namespace {

// A value as a date serial: numbers as they are, texts read as numbers or dates.
std::optional<double> serialOf(sqlite3_value* v) {
    switch (sqlite3_value_type(v)) {
    case SQLITE_INTEGER:
    case SQLITE_FLOAT:
        return sqlite3_value_double(v);
    case SQLITE_TEXT: {
        const QString text = valueText(v);
        if (auto number = runtime::parseNumber(text)) return number;
        return runtime::parseDate(text);
    }
    default:
        return std::nullopt;
    }
}

void resultText(sqlite3_context* ctx, const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    sqlite3_result_text(ctx, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
}

void jetCat(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    QString text;
    bool anyValue = false;
    for (int i = 0; i < argc; ++i) {
        switch (sqlite3_value_type(argv[i])) {
        case SQLITE_NULL:
            continue;
        case SQLITE_INTEGER:
            text += QString::number(sqlite3_value_int64(argv[i]));
            break;
        case SQLITE_FLOAT:
            text += runtime::Variant(sqlite3_value_double(argv[i])).toString();
            break;
        default:
            text += valueText(argv[i]);
        }
        anyValue = true;
    }
    if (anyValue)
        resultText(ctx, text);
    else
        sqlite3_result_null(ctx);
}

void jetVal(sqlite3_context* ctx, int, sqlite3_value** argv) {
    switch (sqlite3_value_type(argv[0])) {
    case SQLITE_NULL:
        sqlite3_result_null(ctx);
        return;
    case SQLITE_INTEGER:
    case SQLITE_FLOAT:
        sqlite3_result_value(ctx, argv[0]);
        return;
    default:
        sqlite3_result_double(ctx, runtime::val(valueText(argv[0])));
    }
}

// The date serial of a function's argument; without one the function's result is already
// set: Null for a Null argument, Jet's type mismatch otherwise.
std::optional<double> serialArgument(sqlite3_context* ctx, sqlite3_value* argument) {
    const auto serial = serialOf(argument);
    if (!serial) {
        if (sqlite3_value_type(argument) == SQLITE_NULL)
            sqlite3_result_null(ctx);
        else
            sqlite3_result_error(ctx, "Data type mismatch in criteria expression.", -1);
    }
    return serial;
}

void jetHour(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (const auto serial = serialArgument(ctx, argv[0]))
        sqlite3_result_int(ctx, runtime::toTime(*serial).hour());
}

void jetDateValue(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (const auto serial = serialArgument(ctx, argv[0]))
        sqlite3_result_double(ctx, runtime::datePart(*serial));
}

// InStr over two ASCII texts, a byte a character, letters folded to lower case: false, with
// nothing answered, when either text is not ASCII.
bool asciiInstr(sqlite3_context* ctx, int start, sqlite3_value* textValue, sqlite3_value* soughtValue) {
    const auto* text = sqlite3_value_text(textValue);
    const int textSize = sqlite3_value_bytes(textValue);
    const auto* sought = sqlite3_value_text(soughtValue);
    const int soughtSize = sqlite3_value_bytes(soughtValue);
    auto ascii = [](const unsigned char* p, int n) {
        return std::all_of(p, p + n, [](unsigned char c) { return c < 0x80; });
    };
    if (!ascii(text, textSize) || !ascii(sought, soughtSize)) return false;
    auto folded = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c; };
    for (int at = start - 1; at + soughtSize <= textSize; ++at) {
        int k = 0;
        while (k < soughtSize && folded(text[at + k]) == folded(sought[k]))
            ++k;
        if (k == soughtSize) {
            sqlite3_result_int(ctx, at + 1);
            return true;
        }
    }
    sqlite3_result_int(ctx, 0);
    return true;
}

// InStr([start,] text, sought): 1-based position, 0 when absent, compared without regard to case.
void jetInstr(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    for (int i = 0; i < argc; ++i) {
        if (sqlite3_value_type(argv[i]) == SQLITE_NULL) {
            sqlite3_result_null(ctx);
            return;
        }
    }
    const int start = argc == 3 ? sqlite3_value_int(argv[0]) : 1;
    if (start < 1) {
        sqlite3_result_error(ctx, "Invalid procedure call or argument.", -1);
        return;
    }
    if (asciiInstr(ctx, start, argv[argc - 2], argv[argc - 1])) return;
    const QString text = valueText(argv[argc - 2]);
    const QString sought = valueText(argv[argc - 1]);
    if (start > text.size() + (sought.isEmpty() ? 1 : 0)) {
        sqlite3_result_int(ctx, 0);
        return;
    }
    sqlite3_result_int(ctx, int(text.indexOf(sought, start - 1, Qt::CaseInsensitive)) + 1);
}

struct Kept {
    sqlite3_value* value;
};

template <bool last> void keepStep(sqlite3_context* ctx, int, sqlite3_value** argv) {
    auto* kept = static_cast<Kept*>(sqlite3_aggregate_context(ctx, sizeof(Kept)));
    if (!kept) return;
    if (kept->value && !last) return;
    sqlite3_value_free(kept->value);
    kept->value = sqlite3_value_dup(argv[0]);
}

void keepFinal(sqlite3_context* ctx) {
    auto* kept = static_cast<Kept*>(sqlite3_aggregate_context(ctx, 0));
    if (kept && kept->value) {
        sqlite3_result_value(ctx, kept->value);
        sqlite3_value_free(kept->value);
        kept->value = nullptr;
    } else {
        sqlite3_result_null(ctx);
    }
}

// A function whose run-time errors (an overflow) fail the statement with the runtime's text.
template <void (*function)(sqlite3_context*, int, sqlite3_value**)>
void trapped(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    try {
        function(ctx, argc, argv);
    } catch (const runtime::RuntimeError& error) {
        const QByteArray text = error.description().toUtf8();
        sqlite3_result_error(ctx, text.constData(), int(text.size()));
    }
}

} // namespace

void registerJetFunctions(sqlite3* db) {
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    sqlite3_create_function(db, "jet_cat", -1, flags, nullptr, trapped<jetCat>, nullptr, nullptr);
    sqlite3_create_function(db, "jet_val", 1, flags, nullptr, trapped<jetVal>, nullptr, nullptr);
    sqlite3_create_function(db, "jet_hour", 1, flags, nullptr, trapped<jetHour>, nullptr, nullptr);
    sqlite3_create_function(db, "jet_datevalue", 1, flags, nullptr, trapped<jetDateValue>, nullptr, nullptr);
    sqlite3_create_function(db, "jet_instr", 2, flags, nullptr, jetInstr, nullptr, nullptr);
    sqlite3_create_function(db, "jet_instr", 3, flags, nullptr, jetInstr, nullptr, nullptr);
    sqlite3_create_function(db, "jet_first", 1, SQLITE_UTF8, nullptr, nullptr, keepStep<false>, keepFinal);
    sqlite3_create_function(db, "jet_last", 1, SQLITE_UTF8, nullptr, nullptr, keepStep<true>, keepFinal);
}

} // namespace data
