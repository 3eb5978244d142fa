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

Field::Field(QString name, const QRect& rect, QString dataField, QString outputFormat)
    : Control(Kind::Field, std::move(name), rect), m_dataField(std::move(dataField)),
      m_outputFormat(std::move(outputFormat)) {}

void Field::setDataValue(const runtime::Variant& value) {
    m_value = value;
    m_boundPicture = m_outputFormat;
    m_unformatted = true;
    m_textShowsValue = true;
}

QString Field::formatted(const runtime::Variant& value, const QString& picture) {
    if (picture.isEmpty()) return value.toText();
    return runtime::Format(value, picture);
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
