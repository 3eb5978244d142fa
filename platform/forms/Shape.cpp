#include "Shape.h"

#include "Colors.h"

#include <QPainter>
#include <QWidget>

namespace forms {

namespace {

class ShapeArea : public QWidget {
public:
    QColor border = QColor(128, 128, 128);

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setPen(border);
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
};

} // namespace

Shape::Shape(Container& container, const QString& name, const TwipsRect& rect, int index)
    : WidgetControl(container, new ShapeArea, name, rect, index) {
    widget()->setAttribute(Qt::WA_TransparentForMouseEvents);
    widget()->lower();
}

void Shape::setBorderColor(int color) {
    static_cast<ShapeArea*>(widget())->border = toQColor(color);
    widget()->update();
}

} // namespace forms
