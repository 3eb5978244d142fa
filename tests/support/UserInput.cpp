#include "UserInput.h"

#include "forms/Form.h"
#include "forms/Grid.h"
#include "forms/ListView.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTableView>
#include <QWidget>

namespace user {

namespace {

bool usable(QWidget* widget) {
    return widget && widget->isVisible() && widget->isEnabled();
}

void mouse(QWidget* widget, QEvent::Type type, Qt::MouseButton button, QPoint at,
           Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    const QPointF local(at);
    const QPointF global(widget->mapToGlobal(at));
    const Qt::MouseButtons buttons =
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
    QMouseEvent event(type, local, local, global, button, buttons, modifiers);
    QApplication::sendEvent(widget, &event);
}

QPoint centre(QWidget* widget, QPoint at) {
    return at.x() < 0 ? widget->rect().center() : at;
}

// Where a cell lies: the widget under it and the point within that widget.
bool cellPoint(forms::Grid& grid, int row, int col, QWidget*& area, QPoint& at) {
    QTableView* view = grid.view();
    if (row < 0 || row >= grid.rows() || col < 0 || col >= grid.cols() || view->isColumnHidden(col))
        return false;
    if (row < grid.fixedRows()) {
        QHeaderView* header = view->horizontalHeader();
        area = header->viewport();
        at =
            QPoint(header->sectionViewportPosition(col) + header->sectionSize(col) / 2, header->height() / 2);
        return true;
    }
    const QModelIndex index = view->model()->index(row - grid.fixedRows(), col);
    view->scrollTo(index);
    area = view->viewport();
    at = view->visualRect(index).center();
    return true;
}

} // namespace

bool click(QWidget* widget, Qt::MouseButton button, QPoint at) {
    if (!usable(widget)) return false;
    at = centre(widget, at);
    mouse(widget, QEvent::MouseButtonPress, button, at);
    mouse(widget, QEvent::MouseButtonRelease, button, at);
    return true;
}

bool doubleClick(QWidget* widget, QPoint at) {
    if (!usable(widget)) return false;
    at = centre(widget, at);
    mouse(widget, QEvent::MouseButtonPress, Qt::LeftButton, at);
    mouse(widget, QEvent::MouseButtonRelease, Qt::LeftButton, at);
    mouse(widget, QEvent::MouseButtonDblClick, Qt::LeftButton, at);
    mouse(widget, QEvent::MouseButtonRelease, Qt::LeftButton, at);
    return true;
}

bool pressKey(QWidget* widget, Qt::Key key, const QString& text) {
    if (!usable(widget)) return false;
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(widget, &release);
    return true;
}

bool type(QWidget* widget, const QString& text) {
    if (!usable(widget)) return false;
    for (QChar c : text) {
        if (c == QLatin1Char('\r'))
            pressKey(widget, Qt::Key_Return, QStringLiteral("\r"));
        else
            pressKey(widget, Qt::Key(c.toUpper().unicode()), QString(c));
    }
    return true;
}

void focus(QWidget* widget) {
    if (QWidget* had = widget->window()->focusWidget(); had && had != widget) {
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(had, &out);
    }
    widget->setFocus(Qt::TabFocusReason);
}

bool closeBox(forms::Form& form) {
    if (!form.window()->isVisible()) return false;
    form.window()->close();
    return true;
}

bool clickCell(forms::Grid& grid, int row, int col, Qt::MouseButton button) {
    QWidget* area = nullptr;
    QPoint at;
    if (!usable(grid.view()) || !cellPoint(grid, row, col, area, at)) return false;
    return click(area, button, at);
}

bool doubleClickCell(forms::Grid& grid, int row, int col) {
    QWidget* area = nullptr;
    QPoint at;
    if (!usable(grid.view()) || !cellPoint(grid, row, col, area, at)) return false;
    return doubleClick(area, at);
}

bool clickItem(forms::ListView& list, int item, Qt::KeyboardModifiers modifiers) {
    QTableView* view = list.view();
    if (!usable(view) || item < 1 || item > list.count()) return false;
    const QModelIndex index = view->model()->index(item - 1, view->horizontalHeader()->logicalIndexAt(0));
    view->scrollTo(index);
    const QPoint at = view->visualRect(index).center();
    mouse(view->viewport(), QEvent::MouseButtonPress, Qt::LeftButton, at, modifiers);
    mouse(view->viewport(), QEvent::MouseButtonRelease, Qt::LeftButton, at, modifiers);
    return true;
}

} // namespace user
