#include "Section.h"

namespace reports {

Section::Section(SectionKind kind, QString name, int height)
    : m_kind(kind), m_name(std::move(name)), m_height(height) {}

template <class T> T* Section::add(std::unique_ptr<T> control) {
    T* raw = control.get();
    m_controls.push_back(std::move(control));
    ++m_revision;
    return raw;
}

Label* Section::addLabel(const QString& name, const QString& caption, const QRect& rect) {
    return add(std::make_unique<Label>(name, rect, caption));
}

Field* Section::addField(const QString& name, const QString& dataField, const QRect& rect,
                         const QString& outputFormat) {
    return add(std::make_unique<Field>(name, rect, dataField, outputFormat));
}

Line* Section::addLine(const QString& name, const QLine& line) {
    return add(std::make_unique<Line>(name, line));
}

SubReport* Section::addSubReport(const QString& name, const QRect& rect) {
    return add(std::make_unique<SubReport>(name, rect));
}

DataControl* Section::addDataControl(const QString& name, const QRect& rect) {
    return add(std::make_unique<DataControl>(name, rect));
}

Control* Section::control(const QString& name) const {
    for (const auto& control : m_controls)
        if (control->name().compare(name, Qt::CaseInsensitive) == 0) return control.get();
    return nullptr;
}

void Section::raiseFormat() const {
    if (m_format) m_format();
}

void Section::raiseBeforePrint() const {
    if (m_beforePrint) m_beforePrint();
}

} // namespace reports
