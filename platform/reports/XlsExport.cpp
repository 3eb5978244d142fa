#include "XlsExport.h"

#include "CompoundFile_p.h"
#include "TextLines.h"
#include "runtime/DateSerial.h"
#include "runtime/Regional.h"

#include <QHash>
#include <QLocale>
#include <QtEndian>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <optional>

namespace reports {

namespace {

constexpr int CharTwips = 120;
constexpr int LineTwips = 240;
constexpr int MaxRows = 65536;
constexpr int MaxColumns = 256;
constexpr int MaxPageBreaks = 1026;
constexpr int MaxRecordData = 8224;
constexpr int MaxColumnWidth = 255 * 256;

// Record numbers of the workbook stream.
namespace record {
constexpr quint16 Bof = 0x0809;
constexpr quint16 Eof = 0x000A;
constexpr quint16 CodePage = 0x0042;
constexpr quint16 Window1 = 0x003D;
constexpr quint16 Font = 0x0031;
constexpr quint16 Format = 0x041E;
constexpr quint16 Xf = 0x00E0;
constexpr quint16 Style = 0x0293;
constexpr quint16 BoundSheet = 0x0085;
constexpr quint16 Sst = 0x00FC;
constexpr quint16 Continue = 0x003C;
constexpr quint16 ExtSst = 0x00FF;
constexpr quint16 HorizontalPageBreaks = 0x001B;
constexpr quint16 ColInfo = 0x007D;
constexpr quint16 Dimensions = 0x0200;
constexpr quint16 Number = 0x0203;
constexpr quint16 LabelSst = 0x00FD;
constexpr quint16 Window2 = 0x023E;
} // namespace record

// Cells take their number format from the texts they show: the General format, or a format
// code of their own written into the workbook, each with its cell XF.
constexpr quint16 GeneralXf = 15;
constexpr quint16 FirstFormatIndex = 164; // the first index of a workbook's own formats
constexpr int MaxFormats = 3000;          // beyond it, cells keep their texts

// The cell grid built from the pages.
struct Cell {
    int row = 0;
    int column = 0;
    QString text;
    std::optional<double> number;
    QString format; // a number's format code; empty for General
};

struct Sheet {
    QVector<Cell> cells;
    QVector<int> pageBreaks;
    int rows = 0;
};

struct Grid {
    QVector<Sheet> sheets{Sheet()};
    QVector<int> widths; // per column, in 1/256 of a character
};

// A number and the format code that shows it as a text shows it.
struct Shown {
    double value;
    QString format; // empty for General
    int decimals = 0;
};

// A number written with the regional separators: digits grouped by threes, an optional
// decimal part, a sign and a currency sign. Texts such as "007" or "1.5" under a point for
// grouping stay texts.
std::optional<Shown> numberOf(const QString& text) {
    const runtime::Regional& regional = runtime::Regional::current();
    QString t = text.trimmed();
    bool negative = false;
    if (t.startsWith(u'-')) {
        negative = true;
        t = t.mid(1);
    }
    QString currency; // the sign with the blanks after it
    if (t.startsWith(u'$')) {
        const QString rest = t.mid(1).trimmed();
        currency = t.left(t.size() - rest.size());
        t = rest;
    }
    const bool signAfterCurrency = !negative && t.startsWith(u'-');
    if (signAfterCurrency) {
        negative = true;
        t = t.mid(1);
    }
    const QStringList parts = t.split(regional.decimalSeparator);
    if (parts.size() > 2 || parts[0].isEmpty()) return std::nullopt;
    const QStringList groups = parts[0].split(regional.thousandsSeparator);
    const auto digits = [](const QString& s) {
        return !s.isEmpty() &&
               std::all_of(s.begin(), s.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
    };
    for (qsizetype i = 0; i < groups.size(); ++i) {
        const qsizetype size = groups[i].size();
        if (!digits(groups[i]) || (groups.size() > 1 && (i == 0 ? size > 3 : size != 3))) return std::nullopt;
    }
    if (groups[0].size() > 1 && groups[0][0] == u'0') return std::nullopt;
    QString plain = groups.join(QString());
    if (parts.size() == 2) {
        if (!digits(parts[1])) return std::nullopt;
        plain += u'.' + parts[1];
    }
    bool ok = false;
    const double value = QLocale::c().toDouble(plain, &ok);
    if (!ok) return std::nullopt;

    QString core = groups.size() > 1 ? QStringLiteral("#,##0") : QStringLiteral("0");
    if (parts.size() == 2) core += u'.' + QString(parts[1].size(), u'0');
    const QString prefix = currency.isEmpty() ? QString() : u'"' + currency + u'"';
    QString format = prefix + core;
    // A sign after the currency sign needs a section of its own; before it, it is the default.
    if (signAfterCurrency) format += u';' + prefix + u'-' + core;
    if (format == u'0') format.clear();
    return Shown{negative ? -value : value, format, parts.size() == 2 ? int(parts[1].size()) : 0};
}

bool isDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

// Matches the runs of digits of a text to the parts of a date serial (rounded to the second),
// each part at most once, and gives each run its format code.
class DateParts {
public:
    // The parts of a serial; the day, month and year only when shown is set (a serial from
    // 1 March 1900 on: before it, spreadsheets read them a day off).
    DateParts(double serial, bool dateShown) : m_dateShown(dateShown) {
        const QDateTime at = runtime::toDateTime(serial);
        m_parts = {{{at.date().day(), 'd'},
                    {at.date().month(), 'm'},
                    {at.date().year(), 'y'},
                    {at.time().hour(), 'h'},
                    {at.time().minute(), 'n'},
                    {at.time().second(), 's'}}};
    }

    // The code of a run of digits (value, written with width digits), trying the time's parts
    // first beside a colon and the date's first elsewhere; empty when no part is left that it
    // shows.
    QString code(int value, qsizetype width, bool besideColon) {
        constexpr int DateFirst[] = {0, 1, 2, 3, 4, 5};
        constexpr int TimeFirst[] = {3, 4, 5, 0, 1, 2};
        for (int p : besideColon ? TimeFirst : DateFirst) {
            if (m_used[p] || (p < 3 && !m_dateShown) || !mayFollow(m_parts[p].code)) continue;
            QString code = codeOf(m_parts[p], value, width);
            if (code.isEmpty()) continue;
            m_used[p] = true;
            m_previous = m_parts[p].code;
            return code;
        }
        return {};
    }
    bool matchedAny() const { return m_previous != 0; }

private:
    struct Part {
        int value;
        char code; // d, m, y, h, n (minute), s
    };

    // Minutes follow the hour and seconds the minutes, or a reader takes them for months.
    bool mayFollow(char code) const {
        return !((code == 'n' && m_previous != 'h') || (code == 's' && m_previous != 'n') ||
                 (code == 'm' && m_previous == 'h'));
    }

    static QString codeOf(const Part& part, int value, qsizetype width) {
        if (part.code == 'y') {
            if (width == 4 && value == part.value) return QStringLiteral("yyyy");
            if (width == 2 && value == part.value % 100) return QStringLiteral("yy");
            return {};
        }
        if (value != part.value || !(width == 2 || (width == 1 && value < 10))) return {};
        return QString(int(width), part.code == 'n' ? u'm' : QChar::fromLatin1(part.code));
    }

    bool m_dateShown;
    std::array<Part, 6> m_parts{};
    std::array<bool, 6> m_used{};
    char m_previous = 0;
};

// A date serial as a text shows it: each run of digits matched to a part of the date or the
// time (rounded to the second), everything else kept as written. None when a run matches no
// part, or when the text shows a day before 1 March 1900, where spreadsheets count one day
// more.
std::optional<Shown> dateOf(const QString& text, double serial) {
    if (!(serial >= 0 && serial < 2958466)) return std::nullopt;
    const double seconds = std::round(serial * 86400.0);
    DateParts parts(seconds / 86400.0, serial >= 61);
    QString format;
    for (qsizetype i = 0; i < text.size();) {
        const bool digits = isDigit(text[i]);
        qsizetype j = i;
        while (j < text.size() && isDigit(text[j]) == digits)
            ++j;
        QString code;
        if (!digits) {
            const QString literal = text.mid(i, j - i);
            if (literal.contains(u'"')) return std::nullopt;
            code = u'"' + literal + u'"';
        } else {
            const bool besideColon = (i > 0 && text[i - 1] == u':') || (j < text.size() && text[j] == u':');
            code = parts.code(text.mid(i, j - i).toInt(), j - i, besideColon);
            if (code.isEmpty()) return std::nullopt;
        }
        format += code;
        i = j;
    }
    if (!parts.matchedAny()) return std::nullopt;
    return Shown{seconds / 86400.0, format};
}

// A text's cell: a number or a date with the format that shows it as the page does, else the
// text. A field's number or date is kept as it is where the text shows it.
void setValue(Cell& cell, const PageItem& item) {
    const runtime::Variant& value = item.value;
    std::optional<Shown> shown;
    if (value.isDate()) shown = dateOf(cell.text, value.toDouble());
    if (!shown) shown = numberOf(cell.text);
    if (!shown) return;
    cell.number = shown->value;
    cell.format = shown->format;
    if (value.isNumber() && !value.isDate() && std::isfinite(value.toDouble())) {
        // The field's own number where its text is that number rounded.
        if (std::abs(value.toDouble() - shown->value) <= 0.5000001 * std::pow(10.0, -shown->decimals))
            cell.number = value.toDouble();
    }
}

// The width a text needs in its font, in 1/256 of a character of the sheet's font, with
// room for the cell's margins.
int widthOf(const QString& text, const Font& font) {
    const double factor = font.size / 10.0 * (font.bold ? 1.1 : 1.0);
    return int(std::ceil((double(text.size()) * factor + 1.5) * 256));
}

Grid buildGrid(const Pages& pages, bool removeVerticalSpace, bool pageBreaks, int minColumnWidth,
               int minRowHeight, const ExportFilter::PageDone& pageDone) {
    // Columns: the texts' left edges over the whole report, close ones merged.
    QVector<int> lefts;
    int maxRight = 0;
    pages.forEachPage([&](const Page& page) {
        for (const PageItem& item : page.items)
            if (item.kind == PageItem::Kind::Text && !item.text.trimmed().isEmpty()) {
                lefts.append(item.rect.left());
                maxRight = std::max(maxRight, item.rect.right() + 1);
            }
    });
    std::sort(lefts.begin(), lefts.end());
    lefts.erase(std::unique(lefts.begin(), lefts.end()), lefts.end());
    QVector<int> starts;
    for (int left : lefts)
        if (starts.isEmpty() || left - starts.last() >= std::max(1, minColumnWidth) * CharTwips)
            starts.append(left);
    if (starts.size() > MaxColumns) starts.resize(MaxColumns);
    auto columnOf = [&starts](int left) {
        const auto it = std::upper_bound(starts.begin(), starts.end(), left);
        return std::max(0, int(it - starts.begin()) - 1);
    };

    Grid grid;
    // At least the room the page gives the column.
    for (int c = 0; c < starts.size(); ++c) {
        const int twips =
            (c + 1 < starts.size() ? starts[c + 1] : std::max(maxRight, starts[c] + 1440)) - starts[c];
        grid.widths.append(std::clamp(twips * 256 / 105, 256, MaxColumnWidth));
    }

    // Rows: the lines of each page; sheets of at most 65536 rows.
    const int tolerance = std::max(1, minRowHeight) * 20;
    for (qsizetype p = 0; p < pages.size(); ++p) {
        const Page page = pages.unpack(p);
        const QVector<TextLine> lines = textLines(page, tolerance);
        int needed = int(lines.size());
        if (!removeVerticalSpace)
            for (qsizetype i = 1; i < lines.size(); ++i)
                needed +=
                    std::max(0, int(std::lround(double(lines[i].top - lines[i - 1].top) / LineTwips)) - 1);
        if (grid.sheets.last().rows + needed > MaxRows && grid.sheets.last().rows > 0)
            grid.sheets.append(Sheet());
        Sheet& sheet = grid.sheets.last();
        if (pageBreaks && sheet.rows > 0 && sheet.pageBreaks.size() < MaxPageBreaks)
            sheet.pageBreaks.append(sheet.rows);
        int previousTop = -1;
        for (const TextLine& line : lines) {
            if (!removeVerticalSpace && previousTop >= 0)
                sheet.rows += std::max(0, int(std::lround(double(line.top - previousTop) / LineTwips)) - 1);
            previousTop = line.top;
            if (sheet.rows >= MaxRows) break;
            const int row = sheet.rows++;
            const qsizetype firstCell = sheet.cells.size();
            for (const PageItem* item : line.items) {
                const int column = columnOf(item->rect.left());
                const QString text = flatText(*item).trimmed();
                if (sheet.cells.size() > firstCell && sheet.cells.last().column == column) {
                    Cell& cell = sheet.cells.last();
                    cell.text += u' ' + text;
                    cell.number.reset();
                    cell.format.clear();
                } else {
                    sheet.cells.append(Cell{row, column, text, {}, {}});
                    setValue(sheet.cells.last(), *item);
                }
                if (column < grid.widths.size())
                    grid.widths[column] = std::clamp(widthOf(sheet.cells.last().text, item->font),
                                                     grid.widths[column], MaxColumnWidth);
            }
        }
        if (pageDone) pageDone(p + 1);
    }
    return grid;
}

class Biff {
public:
    void record(quint16 type, const QByteArray& data) {
        add16(m_out, type);
        add16(m_out, quint16(data.size()));
        m_out += data;
    }
    QByteArray& out() { return m_out; }
    qsizetype size() const { return m_out.size(); }

    static void add16(QByteArray& b, quint16 v) {
        char c[2];
        qToLittleEndian(v, c);
        b.append(c, 2);
    }
    static void add32(QByteArray& b, quint32 v) {
        char c[4];
        qToLittleEndian(v, c);
        b.append(c, 4);
    }
    static void addDouble(QByteArray& b, double v) {
        quint64 bits;
        std::memcpy(&bits, &v, 8);
        char c[8];
        qToLittleEndian(bits, c);
        b.append(c, 8);
    }
    static bool compressible(const QString& s) {
        return std::all_of(s.begin(), s.end(), [](QChar c) { return c.unicode() < 256; });
    }
    // Characters of a string after its option flags: one byte each when they fit.
    static void addChars(QByteArray& b, const QString& s, bool compressed) {
        for (QChar c : s) {
            if (compressed)
                b.append(char(c.unicode()));
            else
                add16(b, c.unicode());
        }
    }
    // A short name with an 8-bit length.
    static QByteArray shortString(const QString& s) {
        QByteArray b;
        b.append(char(s.size()));
        const bool compressed = compressible(s);
        b.append(char(compressed ? 0 : 1));
        addChars(b, s, compressed);
        return b;
    }

private:
    QByteArray m_out;
};

// The start of a substream: kind 0x0005 for the workbook globals, 0x0010 for a sheet.
QByteArray bofData(quint16 kind) {
    QByteArray b;
    Biff::add16(b, 0x0600);     // BIFF8
    Biff::add16(b, kind);       // substream kind
    Biff::add16(b, 0x0DBB);     // build of the writer
    Biff::add16(b, 0x07CC);     // year of the writer's build
    Biff::add32(b, 0x00000041); // file history
    Biff::add32(b, 0x00000006); // lowest BIFF version that reads the file
    return b;
}

// Arial at 10 points.
QByteArray fontData(bool bold) {
    QByteArray b;
    Biff::add16(b, 200);              // height, in 1/20 of a point
    Biff::add16(b, 0);                // not italic, not struck out
    Biff::add16(b, 0x7FFF);           // automatic colour
    Biff::add16(b, bold ? 700 : 400); // weight
    Biff::add16(b, 0);                // neither superscript nor subscript
    b.append(char(0));                // underline
    b.append(char(0));                // family
    b.append(char(0));                // character set
    b.append(char(0));
    b += Biff::shortString(QStringLiteral("Arial"));
    return b;
}

// A style XF, or a cell XF of the Normal style with a number format.
QByteArray xfData(bool style, quint16 format = 0) {
    QByteArray b;
    Biff::add16(b, 0);                                     // font
    Biff::add16(b, format);                                // number format
    Biff::add16(b, style ? 0xFFF5 : 0x0001);               // locked; a style XF / a cell XF of XF 0
    b.append(char(0x20));                                  // general alignment, bottom aligned
    b.append(char(0));                                     // no rotation
    b.append(char(0));                                     // no indent
    b.append(char(style ? 0xF4 : format == 0 ? 0 : 0x04)); // attributes of its own: the number format
    Biff::add32(b, 0);                                     // no borders
    Biff::add32(b, 0);                                     // no border colours, no pattern
    Biff::add16(b, 0x20C0);                                // pattern colours: automatic
    return b;
}

QByteArray formatData(quint16 index, const QString& code) {
    QByteArray b;
    Biff::add16(b, index);
    Biff::add16(b, quint16(code.size()));
    const bool compressed = Biff::compressible(code);
    b.append(char(compressed ? 0 : 1));
    Biff::addChars(b, code, compressed);
    return b;
}

QString truncated(const QString& s) {
    const int limit = Biff::compressible(s) ? MaxRecordData - 3 : (MaxRecordData - 3) / 2;
    return s.size() > limit ? s.left(limit) : s;
}

// The cells' own number formats, each with its cell XF after the General one; a cell whose
// format finds no room keeps its text.
struct NumberFormats {
    QStringList codes;
    QHash<QString, quint16> xf;

    explicit NumberFormats(QVector<Sheet>& sheets) {
        for (Sheet& sheet : sheets)
            for (Cell& cell : sheet.cells)
                if (cell.number && !cell.format.isEmpty() && !xf.contains(cell.format)) add(cell);
    }
    quint16 xfOf(const Cell& cell) const {
        return cell.number && !cell.format.isEmpty() ? xf.value(cell.format) : GeneralXf;
    }

private:
    void add(Cell& cell) {
        if (codes.size() >= MaxFormats || cell.format.size() > 255) {
            cell.number.reset();
            return;
        }
        xf.insert(cell.format, quint16(GeneralXf + 1 + codes.size()));
        codes.append(cell.format);
    }
};

// The texts of the cells that are no numbers (cut to what one record holds), once each in
// order of first use.
struct SharedStrings {
    QVector<QString> strings;
    QHash<QString, int> index;
    int cells = 0; // text cells

    explicit SharedStrings(QVector<Sheet>& sheets) {
        for (Sheet& sheet : sheets)
            for (Cell& cell : sheet.cells)
                if (!cell.number) add(cell);
    }

private:
    void add(Cell& cell) {
        cell.text = truncated(cell.text);
        ++cells;
        if (index.contains(cell.text)) return;
        index.insert(cell.text, int(strings.size()));
        strings.append(cell.text);
    }
};

QByteArray codePageData() {
    QByteArray b;
    Biff::add16(b, 1200); // UTF-16
    return b;
}

QByteArray window1Data() {
    QByteArray b;
    Biff::add16(b, 0);      // left, in twips
    Biff::add16(b, 0);      // top
    Biff::add16(b, 0x3A00); // width
    Biff::add16(b, 0x2300); // height
    Biff::add16(b, 0x0038); // scroll bars and sheet tabs shown
    Biff::add16(b, 0);      // the sheet shown
    Biff::add16(b, 0);      // the first sheet tab shown
    Biff::add16(b, 1);      // sheets selected
    Biff::add16(b, 0x0258); // width of the sheet tabs, in 1/1000 of the window's
    return b;
}

// The Normal style, of XF 0.
QByteArray styleData() {
    QByteArray b;
    Biff::add16(b, 0x8000); // a built-in style of XF 0
    b.append(char(0));      // Normal
    b.append(char(0xFF));   // no outline level
    return b;
}

QByteArray boundSheetData(const QString& name) {
    QByteArray b;
    Biff::add32(b, 0); // the sheet's offset in the stream, patched once known
    Biff::add16(b, 0); // a visible worksheet
    b += Biff::shortString(name);
    return b;
}

// Shared strings, continued in further records when they outgrow one, and their index: every
// bucket-th string's place in the stream.
void writeSharedStrings(Biff& globals, const SharedStrings& shared) {
    QByteArray current;
    Biff::add32(current, quint32(shared.cells));
    Biff::add32(current, quint32(shared.strings.size()));
    quint16 type = record::Sst;
    const int bucket = std::max(8, int((shared.strings.size() + 127) / 128)); // at most 128 buckets
    QByteArray extsst;
    Biff::add16(extsst, quint16(bucket));
    for (int i = 0; i < shared.strings.size(); ++i) {
        const QString& s = shared.strings[i];
        const bool compressed = Biff::compressible(s);
        const int needed = 3 + int(s.size()) * (compressed ? 1 : 2);
        if (current.size() + needed > MaxRecordData) {
            globals.record(type, current);
            current.clear();
            type = record::Continue;
        }
        if (i % bucket == 0) {
            Biff::add32(extsst,
                        quint32(globals.size() + 4 + current.size())); // the string's offset in the stream
            Biff::add16(extsst, quint16(4 + current.size()));          // and in its record
            Biff::add16(extsst, 0);
        }
        Biff::add16(current, quint16(s.size()));
        current.append(char(compressed ? 0 : 1));
        Biff::addChars(current, s, compressed);
    }
    globals.record(type, current);
    globals.record(record::ExtSst, extsst);
}

// The workbook globals for sheetCount sheets; sheetOffsetAt gets where each sheet's offset is
// to be written.
QByteArray globalsStream(const NumberFormats& formats, const SharedStrings& shared, qsizetype sheetCount,
                         QVector<qsizetype>& sheetOffsetAt) {
    Biff globals;
    globals.record(record::Bof, bofData(0x0005));
    globals.record(record::CodePage, codePageData());
    globals.record(record::Window1, window1Data());
    for (int i = 0; i < 4; ++i)
        globals.record(record::Font, fontData(false));
    globals.record(record::Font, fontData(true));
    for (int i = 0; i < formats.codes.size(); ++i)
        globals.record(record::Format, formatData(quint16(FirstFormatIndex + i), formats.codes[i]));
    for (int i = 0; i < 15; ++i)
        globals.record(record::Xf, xfData(true));
    globals.record(record::Xf, xfData(false));
    for (int i = 0; i < formats.codes.size(); ++i)
        globals.record(record::Xf, xfData(false, quint16(FirstFormatIndex + i)));
    globals.record(record::Style, styleData());
    for (qsizetype s = 0; s < sheetCount; ++s) {
        sheetOffsetAt.append(globals.size() + 4);
        globals.record(record::BoundSheet, boundSheetData(QStringLiteral("Sheet%1").arg(s + 1)));
    }
    writeSharedStrings(globals, shared);
    globals.record(record::Eof, {});
    return globals.out();
}

QByteArray pageBreaksData(const QVector<int>& rows) {
    QByteArray b;
    Biff::add16(b, quint16(rows.size()));
    for (int row : rows) {
        Biff::add16(b, quint16(row)); // the first row of the page
        Biff::add16(b, 0);            // across every column
        Biff::add16(b, 0xFF);
    }
    return b;
}

QByteArray colInfoData(int column, int width) {
    QByteArray b;
    Biff::add16(b, quint16(column)); // first column
    Biff::add16(b, quint16(column)); // last column
    Biff::add16(b, quint16(width));  // in 1/256 of a character
    Biff::add16(b, GeneralXf);
    Biff::add16(b, 0); // shown, not collapsed
    Biff::add16(b, 0);
    return b;
}

QByteArray dimensionsData(int rows, qsizetype columns) {
    QByteArray b;
    Biff::add32(b, 0);                // first row
    Biff::add32(b, quint32(rows));    // past the last row
    Biff::add16(b, 0);                // first column
    Biff::add16(b, quint16(columns)); // past the last column
    Biff::add16(b, 0);
    return b;
}

QByteArray window2Data(bool showGridLines, bool first) {
    QByteArray b;
    // Headers, zeros, the default grid line colour and outline symbols shown; the first sheet
    // selected and in the window.
    quint16 flags = 0x0004 | 0x0010 | 0x0020 | 0x0080;
    if (showGridLines) flags |= 0x0002;
    if (first) flags |= 0x0200 | 0x0400;
    Biff::add16(b, flags);
    Biff::add16(b, 0);  // top row shown
    Biff::add16(b, 0);  // left column shown
    Biff::add32(b, 64); // grid line colour: the default
    Biff::add16(b, 0);  // zoom in page break preview: the default
    Biff::add16(b, 0);  // zoom in normal view: the default
    Biff::add32(b, 0);
    return b;
}

// A cell's NUMBER or LABELSST record.
void writeCell(Biff& out, const Cell& cell, const NumberFormats& formats, const SharedStrings& shared) {
    QByteArray b;
    Biff::add16(b, quint16(cell.row));
    Biff::add16(b, quint16(cell.column));
    Biff::add16(b, formats.xfOf(cell));
    if (cell.number) {
        Biff::addDouble(b, *cell.number);
        out.record(record::Number, b);
    } else {
        Biff::add32(b, quint32(shared.index.value(cell.text)));
        out.record(record::LabelSst, b);
    }
}

QByteArray sheetStream(const Sheet& sheet, const QVector<int>& widths, const NumberFormats& formats,
                       const SharedStrings& shared, bool showGridLines, bool first) {
    Biff out;
    out.record(record::Bof, bofData(0x0010));
    if (!sheet.pageBreaks.isEmpty())
        out.record(record::HorizontalPageBreaks, pageBreaksData(sheet.pageBreaks));
    for (int c = 0; c < widths.size(); ++c)
        out.record(record::ColInfo, colInfoData(c, widths[c]));
    out.record(record::Dimensions, dimensionsData(sheet.rows, widths.size()));
    for (const Cell& cell : sheet.cells)
        writeCell(out, cell, formats, shared);
    out.record(record::Window2, window2Data(showGridLines, first));
    out.record(record::Eof, {});
    return out.out();
}

// The workbook's records for a grid: the globals, then each sheet, whose offsets the globals
// name.
QByteArray encode(Grid grid, bool showGridLines) {
    const NumberFormats formats(grid.sheets);
    const SharedStrings shared(grid.sheets);
    QVector<qsizetype> sheetOffsetAt;
    QByteArray stream = globalsStream(formats, shared, grid.sheets.size(), sheetOffsetAt);
    for (int s = 0; s < grid.sheets.size(); ++s) {
        qToLittleEndian(quint32(stream.size()), stream.data() + sheetOffsetAt[s]);
        stream += sheetStream(grid.sheets[s], grid.widths, formats, shared, showGridLines, s == 0);
    }
    return compoundFile(QStringLiteral("Workbook"), stream);
}

} // namespace

QByteArray XlsExport::workbook(const Pages& pages, const PageDone& pageDone) const {
    return encode(
        buildGrid(pages, m_removeVerticalSpace, m_pageBreaks, m_minColumnWidth, m_minRowHeight, pageDone),
        m_showGridLines);
}

void XlsExport::exportPages(const Pages& pages) {
    save(workbook(pages, progressFor(pages)));
}

} // namespace reports
