#pragma once

#include <QPoint>
#include <QString>
#include <Qt>

class QWidget;

namespace forms {
class Form;
class Grid;
class ListView;
} // namespace forms

// What a user does with the mouse and the keyboard, sent to the widgets as Qt events.
// Each action returns false, doing nothing, when the user could not do it (the widget
// is hidden or disabled).
namespace user {

bool click(QWidget* widget, Qt::MouseButton button = Qt::LeftButton, QPoint at = QPoint(-1, -1));
bool doubleClick(QWidget* widget, QPoint at = QPoint(-1, -1));
// Types each character of the text as a key press (a carriage return is the Enter key).
bool type(QWidget* widget, const QString& text);
bool pressKey(QWidget* widget, Qt::Key key, const QString& text = {});
// Moves the focus from the widget that has it (its focus-out events run).
void focus(QWidget* widget);

// The close box of a form's window.
bool closeBox(forms::Form& form);

// A click, a right click or a double click on a grid cell; row 0 is the title row.
bool clickCell(forms::Grid& grid, int row, int col, Qt::MouseButton button = Qt::LeftButton);
bool doubleClickCell(forms::Grid& grid, int row, int col);

// A click on a row of a list view (from 1), with Ctrl or Shift held when given.
bool clickItem(forms::ListView& list, int item, Qt::KeyboardModifiers modifiers = Qt::NoModifier);

} // namespace user
