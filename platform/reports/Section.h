#pragma once

#include "Controls.h"

#include <QLine>
#include <QRect>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

namespace reports {

enum class SectionKind {
    ReportHeader,
    PageHeader,
    GroupHeader,
    Detail,
    GroupFooter,
    PageFooter,
    ReportFooter
};

// A band of a layout: a height in twips and its controls. The format event runs before
// the section is laid out (it may hide the section for this occurrence or change its
// controls); the before-print event runs once its place on the page is fixed.
class Section {
public:
    Section(SectionKind kind, QString name, int height);

    SectionKind kind() const { return m_kind; }
    const QString& name() const { return m_name; }

    int height() const { return m_height; }
    void setHeight(int twips) {
        m_height = twips;
        ++m_revision;
    }

    bool visible() const { return m_visible; }
    void setVisible(bool visible) { m_visible = visible; }

    // A growing section takes the height its growing controls need.
    bool canGrow() const { return m_canGrow; }
    void setCanGrow(bool canGrow) {
        m_canGrow = canGrow;
        ++m_revision;
    }

    // Group headers: the column whose consecutive equal values form one group.
    const QString& groupKey() const { return m_groupKey; }
    void setGroupKey(const QString& column) { m_groupKey = column; }

    const QColor& backColor() const { return m_backColor; }
    void setBackColor(const QColor& color) {
        m_backColor = color;
        ++m_revision;
    }

    // Counts the changes to the height, growth and back colour, and the controls added.
    quint32 revision() const { return m_revision; }

    Label* addLabel(const QString& name, const QString& caption, const QRect& rect);
    Field* addField(const QString& name, const QString& dataField, const QRect& rect,
                    const QString& outputFormat = {});
    Line* addLine(const QString& name, const QLine& line);
    SubReport* addSubReport(const QString& name, const QRect& rect);
    DataControl* addDataControl(const QString& name, const QRect& rect);

    const std::vector<std::unique_ptr<Control>>& controls() const { return m_controls; }
    Control* control(const QString& name) const;

    void onFormat(std::function<void()> handler) { m_format = std::move(handler); }
    void onBeforePrint(std::function<void()> handler) { m_beforePrint = std::move(handler); }
    void raiseFormat() const;
    void raiseBeforePrint() const;
    bool hasEvents() const { return m_format || m_beforePrint; }

private:
    template <class T> T* add(std::unique_ptr<T> control);

    quint32 m_revision = 0;
    SectionKind m_kind;
    QString m_name;
    int m_height;
    bool m_visible = true;
    bool m_canGrow = true;
    QString m_groupKey;
    QColor m_backColor;
    std::vector<std::unique_ptr<Control>> m_controls;
    std::function<void()> m_format;
    std::function<void()> m_beforePrint;
};

} // namespace reports
