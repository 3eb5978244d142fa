#include "Control.h"

#include "runtime/RuntimeError.h"

#include <QFont>
#include <QWidget>

namespace forms {

Control::Control(Container& container, const QString& name, int index)
    : m_container(container), m_name(name), m_index(index) {}

Control::~Control() = default;

WidgetControl::WidgetControl(Container& container, QWidget* widget, const QString& name,
                             const TwipsRect& rect, int index)
    : Control(container, name, index), m_widget(widget) {
    m_widget->setParent(container.containerWidget());
    m_widget->setObjectName(index >= 0 ? QStringLiteral("%1(%2)").arg(name).arg(index) : name);
    m_widget->setGeometry(rect.toPixels());
}

// The widget belongs to its container's widget, which deletes it.
WidgetControl::~WidgetControl() = default;

int WidgetControl::left() const {
    return toTwips(m_widget->x());
}
int WidgetControl::top() const {
    return toTwips(m_widget->y());
}
int WidgetControl::width() const {
    return toTwips(m_widget->width());
}
int WidgetControl::height() const {
    return toTwips(m_widget->height());
}

void WidgetControl::move(int left, int top, int width, int height) {
    m_widget->setGeometry(TwipsRect{left, top, width, height}.toPixels());
}

void WidgetControl::setLeft(int left) {
    move(left, top(), width(), height());
}
void WidgetControl::setTop(int top) {
    move(left(), top, width(), height());
}
void WidgetControl::setWidth(int width) {
    move(left(), top(), width, height());
}
void WidgetControl::setHeight(int height) {
    move(left(), top(), width(), height);
}

bool WidgetControl::visible() const {
    return !m_widget->isHidden();
}
void WidgetControl::setVisible(bool visible) {
    m_widget->setVisible(visible);
}

bool WidgetControl::enabled() const {
    return !m_widget->testAttribute(Qt::WA_ForceDisabled);
}
void WidgetControl::setEnabled(bool enabled) {
    m_widget->setEnabled(enabled);
}

void WidgetControl::setFocus() {
    if (!m_widget->isVisible() || !m_widget->isEnabled()) runtime::raise(runtime::err::InvalidProcedureCall);
    m_widget->setFocus(Qt::OtherFocusReason);
}

void WidgetControl::setFont(const QString& family, double pointSize, bool bold) {
    QFont font = m_widget->font();
    font.setFamily(family);
    if (pointSize > 0) font.setPointSizeF(pointSize);
    font.setBold(bold);
    m_widget->setFont(font);
}

} // namespace forms
