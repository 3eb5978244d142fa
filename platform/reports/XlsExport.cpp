#include "XlsExport.h"

#include "CompoundFile.h"
#include "TextLines.h"
#include "runtime/Regional.h"

#include <QFile>
#include <QHash>
#include <QtEndian>

#include <algorithm>
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
constexpr quint16 CellXf = 15;

struct Cell {
    int row = 0;
    int column = 0;
    QString text;
    std::optional<double> number;
};

struct Sheet {
    QVector<Cell> cells;
    QVector<int> pageBreaks;
    int rows = 0;
};

// A cell's number when its text is one: grouping, the regional decimal separator and a
// currency sign are read; texts such as "007" or times stay texts.
std::optional<double> numberOf(const QString& text) {
    QString t = text.trimmed();
    if (t.startsWith(u'$'))
        t = t.mid(1).trimmed();
    else if (t.startsWith(QStringLiteral("-$")))
        t = u'-' + t.mid(2).trimmed();
    if (t.isEmpty()) return std::nullopt;
    for (QChar c : t)
        if (!(c.isDigit() || c == u'-' || c == u'+' || c == runtime::Regional::current().decimalSeparator ||
              c == runtime::Regional::current().thousandsSeparator))
            return std::nullopt;
    const auto firstDigit = std::find_if(t.begin(), t.end(), [](QChar c) { return c.isDigit(); });
    if (firstDigit != t.end() && *firstDigit == u'0' && firstDigit + 1 != t.end() &&
        (firstDigit + 1)->isDigit())
        return std::nullopt;
    return runtime::parseNumber(t);
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

QByteArray bofData(quint16 kind) {
    QByteArray b;
    Biff::add16(b, 0x0600);
    Biff::add16(b, kind);
    Biff::add16(b, 0x0DBB);
    Biff::add16(b, 0x07CC);
    Biff::add32(b, 0x00000041);
    Biff::add32(b, 0x00000006);
    return b;
}

QByteArray fontData(bool bold) {
    QByteArray b;
    Biff::add16(b, 200);
    Biff::add16(b, 0);
    Biff::add16(b, 0x7FFF);
    Biff::add16(b, bold ? 700 : 400);
    Biff::add16(b, 0);
    b.append(char(0)); // underline
    b.append(char(0)); // family
    b.append(char(0)); // character set
    b.append(char(0));
    b += Biff::shortString(QStringLiteral("Arial"));
    return b;
}

QByteArray xfData(bool style) {
    QByteArray b;
    Biff::add16(b, 0);                       // font
    Biff::add16(b, 0);                       // number format: General
    Biff::add16(b, style ? 0xFFF5 : 0x0001); // style XF / cell XF of the Normal style
    b.append(char(0x20));                    // bottom aligned
    b.append(char(0));
    b.append(char(0));
    b.append(char(style ? 0xF4 : 0));
    Biff::add32(b, 0);
    Biff::add32(b, 0);
    Biff::add16(b, 0x20C0);
    return b;
}

QString truncated(const QString& s) {
    const int limit = Biff::compressible(s) ? MaxRecordData - 3 : (MaxRecordData - 3) / 2;
    return s.size() > limit ? s.left(limit) : s;
}

} // namespace

QByteArray XlsExport::workbook(const Pages& pages) const {
    // Columns: the texts' left edges over the whole report, close ones merged.
    QVector<int> lefts;
    int maxRight = 0;
    for (const Page& page : pages)
        for (const PageItem& item : page.items)
            if (item.kind == PageItem::Kind::Text && !item.text.trimmed().isEmpty()) {
                lefts.append(item.rect.left());
                maxRight = std::max(maxRight, item.rect.right() + 1);
            }
    std::sort(lefts.begin(), lefts.end());
    lefts.erase(std::unique(lefts.begin(), lefts.end()), lefts.end());
    QVector<int> starts;
    for (int left : lefts)
        if (starts.isEmpty() || left - starts.last() >= std::max(1, m_minColumnWidth) * CharTwips)
            starts.append(left);
    if (starts.size() > MaxColumns) starts.resize(MaxColumns);
    auto columnOf = [&starts](int left) {
        const auto it = std::upper_bound(starts.begin(), starts.end(), left);
        return std::max(0, int(it - starts.begin()) - 1);
    };

    // Rows: the lines of each page; sheets of at most 65536 rows.
    QVector<Sheet> sheets(1);
    QHash<QString, int> stringIndex;
    QVector<QString> strings;
    int totalStrings = 0;
    const int tolerance = std::max(1, m_minRowHeight) * 20;
    for (qsizetype p = 0; p < pages.size(); ++p) {
        const QVector<TextLine> lines = textLines(pages[p], tolerance);
        int needed = int(lines.size());
        if (!m_removeVerticalSpace)
            for (qsizetype i = 1; i < lines.size(); ++i)
                needed +=
                    std::max(0, int(std::lround(double(lines[i].top - lines[i - 1].top) / LineTwips)) - 1);
        if (sheets.last().rows + needed > MaxRows && sheets.last().rows > 0) sheets.append(Sheet());
        Sheet& sheet = sheets.last();
        if (m_pageBreaks && sheet.rows > 0 && sheet.pageBreaks.size() < MaxPageBreaks)
            sheet.pageBreaks.append(sheet.rows);
        int previousTop = -1;
        for (const TextLine& line : lines) {
            if (!m_removeVerticalSpace && previousTop >= 0)
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
                    continue;
                }
                sheet.cells.append(Cell{row, column, text, numberOf(text)});
            }
        }
    }
    for (Sheet& sheet : sheets)
        for (Cell& cell : sheet.cells)
            if (!cell.number) {
                cell.text = truncated(cell.text);
                ++totalStrings;
                if (!stringIndex.contains(cell.text)) {
                    stringIndex.insert(cell.text, int(strings.size()));
                    strings.append(cell.text);
                }
            }

    // Workbook globals.
    Biff globals;
    globals.record(0x0809, bofData(0x0005));
    {
        QByteArray b;
        Biff::add16(b, 1200); // UTF-16
        globals.record(0x0042, b);
    }
    {
        QByteArray b;
        Biff::add16(b, 0);
        Biff::add16(b, 0);
        Biff::add16(b, 0x3A00);
        Biff::add16(b, 0x2300);
        Biff::add16(b, 0x0038);
        Biff::add16(b, 0);
        Biff::add16(b, 0);
        Biff::add16(b, 1);
        Biff::add16(b, 0x0258);
        globals.record(0x003D, b);
    }
    for (int i = 0; i < 4; ++i)
        globals.record(0x0031, fontData(false));
    globals.record(0x0031, fontData(true));
    for (int i = 0; i < 15; ++i)
        globals.record(0x00E0, xfData(true));
    globals.record(0x00E0, xfData(false));
    {
        QByteArray b;
        Biff::add16(b, 0x8000);
        b.append(char(0));
        b.append(char(0xFF));
        globals.record(0x0293, b);
    }
    QVector<qsizetype> sheetOffsetAt;
    for (int s = 0; s < sheets.size(); ++s) {
        QByteArray b;
        Biff::add32(b, 0); // patched below
        Biff::add16(b, 0);
        b += Biff::shortString(QStringLiteral("Sheet%1").arg(s + 1));
        sheetOffsetAt.append(globals.size() + 4);
        globals.record(0x0085, b);
    }

    // Shared strings, continued in further records when they outgrow one; every eighth
    // string's place goes to the index that follows.
    {
        QByteArray current;
        Biff::add32(current, quint32(totalStrings));
        Biff::add32(current, quint32(strings.size()));
        quint16 type = 0x00FC;
        // At most 128 buckets in the index.
        const int bucket = std::max(8, int((strings.size() + 127) / 128));
        QByteArray extsst;
        Biff::add16(extsst, quint16(bucket));
        for (int i = 0; i < strings.size(); ++i) {
            const QString& s = strings[i];
            const bool compressed = Biff::compressible(s);
            const int needed = 3 + int(s.size()) * (compressed ? 1 : 2);
            if (current.size() + needed > MaxRecordData) {
                globals.record(type, current);
                current.clear();
                type = 0x003C;
            }
            if (i % bucket == 0) {
                Biff::add32(extsst, quint32(globals.size() + 4 + current.size()));
                Biff::add16(extsst, quint16(4 + current.size()));
                Biff::add16(extsst, 0);
            }
            Biff::add16(current, quint16(s.size()));
            current.append(char(compressed ? 0 : 1));
            Biff::addChars(current, s, compressed);
        }
        globals.record(type, current);
        globals.record(0x00FF, extsst);
    }
    globals.record(0x000A, {});

    // Sheets.
    QVector<QByteArray> sheetStreams;
    for (int s = 0; s < sheets.size(); ++s) {
        const Sheet& sheet = sheets[s];
        Biff out;
        out.record(0x0809, bofData(0x0010));
        if (!sheet.pageBreaks.isEmpty()) {
            QByteArray b;
            Biff::add16(b, quint16(sheet.pageBreaks.size()));
            for (int row : sheet.pageBreaks) {
                Biff::add16(b, quint16(row));
                Biff::add16(b, 0);
                Biff::add16(b, 0xFF);
            }
            out.record(0x001B, b);
        }
        for (int c = 0; c < starts.size(); ++c) {
            const int width =
                (c + 1 < starts.size() ? starts[c + 1] : std::max(maxRight, starts[c] + 1440)) - starts[c];
            QByteArray b;
            Biff::add16(b, quint16(c));
            Biff::add16(b, quint16(c));
            Biff::add16(b, quint16(std::clamp(width * 256 / 105, 256, 255 * 256)));
            Biff::add16(b, CellXf);
            Biff::add16(b, 0);
            Biff::add16(b, 0);
            out.record(0x007D, b);
        }
        {
            QByteArray b;
            Biff::add32(b, 0);
            Biff::add32(b, quint32(sheet.rows));
            Biff::add16(b, 0);
            Biff::add16(b, quint16(starts.isEmpty() ? 0 : starts.size()));
            Biff::add16(b, 0);
            out.record(0x0200, b);
        }
        for (const Cell& cell : sheet.cells) {
            QByteArray b;
            Biff::add16(b, quint16(cell.row));
            Biff::add16(b, quint16(cell.column));
            Biff::add16(b, CellXf);
            if (cell.number) {
                Biff::addDouble(b, *cell.number);
                out.record(0x0203, b);
            } else {
                Biff::add32(b, quint32(stringIndex.value(cell.text)));
                out.record(0x00FD, b);
            }
        }
        {
            QByteArray b;
            quint16 flags = 0x0004 | 0x0010 | 0x0020 | 0x0080;
            if (m_showGridLines) flags |= 0x0002;
            if (s == 0) flags |= 0x0200 | 0x0400;
            Biff::add16(b, flags);
            Biff::add16(b, 0);
            Biff::add16(b, 0);
            Biff::add32(b, 64);
            Biff::add16(b, 0);
            Biff::add16(b, 0);
            Biff::add32(b, 0);
            out.record(0x023E, b);
        }
        out.record(0x000A, {});
        sheetStreams.append(out.out());
    }

    QByteArray stream = globals.out();
    qsizetype offset = stream.size();
    for (int s = 0; s < sheets.size(); ++s) {
        qToLittleEndian(quint32(offset), stream.data() + sheetOffsetAt[s]);
        offset += sheetStreams[s].size();
    }
    for (const QByteArray& sheet : sheetStreams)
        stream += sheet;
    return compoundFile(QStringLiteral("Workbook"), stream);
}

void XlsExport::exportPages(const Pages& pages) {
    QFile file;
    openFile(file);
    const QByteArray bytes = workbook(pages);
    if (file.write(bytes) != bytes.size()) writeFailed(file);
    file.close();
}

} // namespace reports
