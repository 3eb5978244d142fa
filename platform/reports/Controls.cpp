#include "Controls.h"

#include "RecordsetRowSource_p.h"
#include "runtime/Format.h"

namespace reports {

QColor oleColor(long value) {
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

Control::Control(Kind kind, QString name, const QRect& rect)
    : m_kind(kind), m_name(std::move(name)), m_rect(rect) {}

Label::Label(QString name, const QRect& rect, QString caption)
    : Control(Kind::Label, std::move(name), rect), m_caption(std::move(caption)) {}

namespace {

// A picture that shows a date or a time: a named one, or one with day, month-with-day, year,
// hour, minute or second placeholders outside quoted text.
bool isDatePicture(const QString& picture) {
    static const QStringList named{QStringLiteral("general date"), QStringLiteral("long date"),
                                   QStringLiteral("medium date"),  QStringLiteral("short date"),
                                   QStringLiteral("long time"),    QStringLiteral("medium time"),
                                   QStringLiteral("short time")};
    if (picture.isEmpty()) return false;
    if (named.contains(picture, Qt::CaseInsensitive)) return true;
    bool quoted = false;
    for (qsizetype i = 0; i < picture.size(); ++i) {
        const QChar c = picture[i].toLower();
        if (c == u'"')
            quoted = !quoted;
        else if (c == u'\\')
            ++i;
        else if (!quoted && (c == u'd' || c == u'y' || c == u'h' || c == u'n' || c == u's'))
            return true;
    }
    return false;
}

} // namespace

Field::Field(QString name, const QRect& rect, QString dataField, const QString& outputFormat)
    : Control(Kind::Field, std::move(name), rect), m_dataField(std::move(dataField)) {
    setOutputFormat(outputFormat);
}

void Field::setOutputFormat(const QString& picture) {
    text(); // a value given already is formatted under the picture it was given under
    m_picture = runtime::FormatPicture(picture);
    m_showsDates = isDatePicture(picture);
}

void Field::setDataValue(const runtime::Variant& value) {
    m_value = value;
    m_unformatted = true;
    m_textShowsValue = true;
}

Line::Line(QString name, const QLine& line)
    : Control(Kind::Line, std::move(name), QRect(line.p1(), line.p2()).normalized()), m_line(line) {}

SubReport::SubReport(QString name, const QRect& rect) : Control(Kind::SubReport, std::move(name), rect) {}

DataControl::DataControl(QString name, const QRect& rect)
    : Control(Kind::DataControl, std::move(name), rect) {}

void DataControl::setRows(const QStringList& columns, const QVector<Row>& rows) {
    m_rows = [columns, rows] { return std::make_unique<MemoryRowSource>(columns, rows); };
}

std::unique_ptr<RowSource> DataControl::open() const {
    if (m_rows) return m_rows();
    if (m_connection) return openRecordset(m_connection, m_source);
    return std::make_unique<MemoryRowSource>(QStringList{}, QVector<Row>{});
}

} // namespace reports
