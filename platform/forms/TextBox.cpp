#include "TextBox.h"

#include "Events.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>

namespace forms {

// Passes keys and the loss of focus of the line edit to the text box's events.
class TextBox::Filter : public QObject {
public:
    explicit Filter(TextBox* box) : QObject(box->widget()), m_box(box) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress && m_box->m_keyPress) {
            auto* key = static_cast<QKeyEvent*>(event);
            int code = characterCode(key);
            if (code > 0) {
                int keyAscii = code;
                fire([&] { m_box->m_keyPress(keyAscii); });
                if (keyAscii == 0) return true;
            }
        } else if (event->type() == QEvent::FocusOut) {
            fireEvent(m_box->m_lostFocus);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    static int characterCode(const QKeyEvent* key) {
        switch (key->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return 13;
        case Qt::Key_Backspace:
            return 8;
        case Qt::Key_Escape:
            return 27;
        case Qt::Key_Tab:
            return 0; // moves the focus; no character reaches the box
        default:
            break;
        }
        const QString text = key->text();
        return text.isEmpty() ? 0 : text.at(0).unicode();
    }

    TextBox* m_box;
};

TextBox::TextBox(Container& container, const QString& name, const TwipsRect& rect, int index)
    : WidgetControl(container, new QLineEdit, name, rect, index) {
    lineEdit()->installEventFilter(new Filter(this));
}

QLineEdit* TextBox::lineEdit() const {
    return static_cast<QLineEdit*>(widget());
}

QString TextBox::text() const {
    return lineEdit()->text();
}
void TextBox::setText(const QString& text) {
    lineEdit()->setText(text);
}

void TextBox::setPasswordChar(const QString& passwordChar) {
    lineEdit()->setEchoMode(passwordChar.isEmpty() ? QLineEdit::Normal : QLineEdit::Password);
}

QString TextBox::passwordChar() const {
    return lineEdit()->echoMode() == QLineEdit::Password ? QStringLiteral("*") : QString();
}

} // namespace forms
