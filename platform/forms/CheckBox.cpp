#include "CheckBox.h"

#include "runtime/RuntimeError.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>

namespace forms {

namespace {

// The caption beside the box: a click on it toggles the box, as on the box itself.
class Caption : public QLabel {
public:
    explicit Caption(QCheckBox* box) : m_box(box) {}

protected:
    void mouseReleaseEvent(QMouseEvent* event) override {
        QLabel::mouseReleaseEvent(event);
        if (event->button() == Qt::LeftButton && m_box->isEnabled()) m_box->click();
    }

private:
    QCheckBox* m_box;
};

} // namespace

CheckBox::CheckBox(Container& container, const QString& name, const QString& caption, const TwipsRect& rect,
                   int index)
    : WidgetControl(container, new QWidget, name, rect, index) {
    m_box = new QCheckBox;
    m_caption = new Caption(m_box);
    m_caption->setWordWrap(true);
    m_caption->setTextFormat(Qt::PlainText);
    auto* layout = new QHBoxLayout(widget());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    layout->addWidget(m_box, 0, Qt::AlignVCenter);
    layout->addWidget(m_caption, 1, Qt::AlignVCenter);
    widget()->setFocusProxy(m_box);
    setCaption(caption);
}

QString CheckBox::caption() const {
    return m_caption->text();
}
void CheckBox::setCaption(const QString& caption) {
    m_caption->setText(caption);
}

int CheckBox::value() const {
    switch (m_box->checkState()) {
    case Qt::Checked:
        return 1;
    case Qt::PartiallyChecked:
        return 2;
    default:
        return 0;
    }
}

void CheckBox::setValue(int value) {
    if (value < 0 || value > 2) runtime::raise(runtime::err::InvalidPropertyValue);
    m_box->setTristate(value == 2);
    m_box->setCheckState(value == 1 ? Qt::Checked : value == 2 ? Qt::PartiallyChecked : Qt::Unchecked);
}

} // namespace forms
