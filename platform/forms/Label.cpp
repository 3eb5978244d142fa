#include "Label.h"

#include <QLabel>

namespace forms {

Label::Label(Container& container, const QString& name, const QString& caption, const TwipsRect& rect,
             int index)
    : WidgetControl(container, new QLabel, name, rect, index) {
    QLabel* l = label();
    l->setTextFormat(Qt::PlainText);
    l->setWordWrap(true);
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setCaption(caption);
}

QLabel* Label::label() const {
    return static_cast<QLabel*>(widget());
}

void Label::setCaption(const QString& caption) {
    m_caption = caption;
    QString shown = caption;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    label()->setText(shown);
}

} // namespace forms
