#pragma once

#include "PageModel.h"
#include "RowSource.h"
#include "runtime/Format.h"
#include "runtime/Variant.h"

#include <QColor>
#include <QLine>
#include <QRect>
#include <QString>

#include <functional>
#include <memory>

namespace data {
class Connection;
}

namespace reports {

class SubReportSource;

// A platform colour value (0x00BBGGRR: 255 is red, 32768 green) as a colour.
QColor oleColor(long value);

// A control of a section, placed in twips from the section's top-left corner. Its
// properties persist from one section occurrence to the next, as format events expect. Its
// revision counts the changes to what a section lays out once for its occurrences: the place and
// visibility of every control, and everything of labels and lines; a field's text, colour, font
// and alignment are read at each occurrence.
class Control {
public:
    enum class Kind { Label, Field, Line, SubReport, DataControl };

    Control(Kind kind, QString name, const QRect& rect);
    virtual ~Control() = default;

    Kind kind() const { return m_kind; }
    const QString& name() const { return m_name; }

    const QRect& rect() const { return m_rect; }

    bool visible() const { return m_visible; }
    void setVisible(bool visible) {
        if (visible != m_visible) changed();
        m_visible = visible;
    }

    const QColor& foreColor() const { return m_foreColor; }
    void setForeColor(const QColor& color) {
        m_foreColor = color;
        textChanged();
    }
    void setForeColor(long oleValue) { setForeColor(oleColor(oleValue)); }

    // An invalid colour is a transparent back.
    const QColor& backColor() const { return m_backColor; }
    void setBackColor(const QColor& color) {
        m_backColor = color;
        changed();
    }
    void setBackColor(long oleValue) { setBackColor(oleColor(oleValue)); }

    Font& font() {
        textChanged();
        return m_font;
    }
    const Font& font() const { return m_font; }
    void setFont(const Font& font) {
        m_font = font;
        textChanged();
    }

    Alignment alignment() const { return m_alignment; }
    void setAlignment(Alignment alignment) {
        m_alignment = alignment;
        textChanged();
    }

    quint32 revision() const { return m_revision; }

protected:
    void changed() { ++m_revision; }

private:
    void textChanged() {
        if (m_kind != Kind::Field) changed();
    }

    quint32 m_revision = 0;
    Kind m_kind;
    QString m_name;
    QRect m_rect;
    bool m_visible = true;
    QColor m_foreColor = Qt::black;
    QColor m_backColor;
    Font m_font;
    Alignment m_alignment = Alignment::Left;
};

// A fixed caption.
class Label : public Control {
public:
    Label(QString name, const QRect& rect, QString caption);
    const QString& caption() const { return m_caption; }
    void setCaption(const QString& caption) {
        m_caption = caption;
        changed();
    }

private:
    QString m_caption;
};

// A text box: bound to a column of the report's rows (its data field), or unbound with a
// text that code sets. A bound field takes the row's value and its text (the value under
// the output format) before the section's format event; events may then change the text.
// A summary field holds the sum of its column over every detail row of the report.
class Field : public Control {
public:
    enum class Summary { None, GrandTotal };

    Field(QString name, const QRect& rect, QString dataField = {}, const QString& outputFormat = {});

    const QString& dataField() const { return m_dataField; }
    void setDataField(const QString& column) { m_dataField = column; }

    const QString& outputFormat() const { return m_picture.text(); }
    // Taken apart once; a value given before keeps the picture it was given under.
    void setOutputFormat(const QString& picture);
    // The output format shows a date or a time.
    bool showsDates() const { return m_showsDates; }

    // Formatted when first asked for: a section that its format event hides formats nothing.
    const QString& text() const {
        if (m_unformatted) {
            m_text = formatted(m_value);
            m_unformatted = false;
        }
        return m_text;
    }
    void setText(const QString& text) {
        m_text = text;
        m_unformatted = false;
        m_textShowsValue = false;
    }

    // The unformatted value: the column's value, the summary, or for an unbound field the
    // value last given.
    const runtime::Variant& dataValue() const { return m_value; }
    void setDataValue(const runtime::Variant& value);
    // The text is the data value formatted: no code has set it since.
    bool textShowsValue() const { return m_textShowsValue; }

    // A growing field wraps its text within its width and grows downwards.
    bool canGrow() const { return m_canGrow; }
    void setCanGrow(bool canGrow) {
        m_canGrow = canGrow;
        changed();
    }

    Summary summary() const { return m_summary; }
    void setSummary(Summary summary) { m_summary = summary; }

    // The text of a value under the output format (the default conversion without one).
    QString formatted(const runtime::Variant& value) const {
        return m_picture.isEmpty() ? value.toText() : m_picture.format(value);
    }

private:
    QString m_dataField;
    runtime::FormatPicture m_picture;
    bool m_showsDates = false;

    mutable QString m_text;
    mutable bool m_unformatted = false;
    runtime::Variant m_value;
    bool m_textShowsValue = false;
    bool m_canGrow = false;
    Summary m_summary = Summary::None;
};

// A straight line between two points of the section.
class Line : public Control {
public:
    Line(QString name, const QLine& line);
    const QLine& line() const { return m_line; }
    int lineWidth() const { return m_lineWidth; }

private:
    QLine m_line;
    int m_lineWidth = 15;
};

// A place for another report, run with its own data each time the section is formatted;
// the control grows with the sub-report's rows.
class SubReport : public Control {
public:
    SubReport(QString name, const QRect& rect);
    SubReportSource* report() const { return m_report; }
    void setReport(SubReportSource* report) { m_report = report; }

private:
    SubReportSource* m_report = nullptr;
};

// The report's data control: a connection and a query text set before the run, or rows
// given directly. Not printed.
class DataControl : public Control {
public:
    using ConnectionPtr = std::shared_ptr<data::Connection>;
    using RowsFactory = std::function<std::unique_ptr<RowSource>()>;

    DataControl(QString name, const QRect& rect);

    const ConnectionPtr& connection() const { return m_connection; }
    void setConnection(const ConnectionPtr& connection) { m_connection = connection; }
    const QString& source() const { return m_source; }
    void setSource(const QString& source) { m_source = source; }

    // Rows given directly take the place of the connection and its query.
    void setRows(RowsFactory factory) { m_rows = std::move(factory); }
    void setRows(const QStringList& columns, const QVector<Row>& rows);

    // The rows of one run: none when neither rows nor a connection are given.
    std::unique_ptr<RowSource> open() const;

private:
    ConnectionPtr m_connection;
    QString m_source;
    RowsFactory m_rows;
};

} // namespace reports
