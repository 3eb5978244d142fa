#pragma once

#include "Control.h"

#include <functional>

class QLineEdit;

namespace forms {

// A one-line text box, optionally masked with a password character. KeyPress receives
// the character code of each typed key (13 for Enter) and may set it to 0 to drop the key.
class TextBox : public WidgetControl {
public:
    TextBox(Container& container, const QString& name, const TwipsRect& rect, int index = -1);

    QLineEdit* lineEdit() const;
    QString text() const;
    void setText(const QString& text);
    // PasswordChar: "*" masks the text; the empty text shows it.
    void setPasswordChar(const QString& passwordChar);
    QString passwordChar() const;

    void onKeyPress(std::function<void(int& keyAscii)> handler) { m_keyPress = std::move(handler); }
    void onLostFocus(std::function<void()> handler) { m_lostFocus = std::move(handler); }

private:
    class Filter;
    std::function<void(int&)> m_keyPress;
    std::function<void()> m_lostFocus;
};

} // namespace forms
