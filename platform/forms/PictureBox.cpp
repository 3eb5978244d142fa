#include "PictureBox.h"

#include "Colors.h"
#include "Events.h"

#include <QFrame>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>

namespace forms {

class PictureBox::Area : public QFrame {
public:
    QPixmap picture;
    std::function<void()> click;

protected:
    void paintEvent(QPaintEvent* event) override {
        QFrame::paintEvent(event);
        if (!picture.isNull()) {
            QPainter painter(this);
            painter.drawPixmap(contentsRect().topLeft(), picture);
        }
    }
    void mouseReleaseEvent(QMouseEvent* event) override {
        QFrame::mouseReleaseEvent(event);
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
            fireEvent(click);
    }
};

PictureBox::PictureBox(Container& container, const QString& name, const TwipsRect& rect, int index)
    : WidgetControl(container, new Area, name, rect, index) {
    setBorder(true);
}

PictureBox::Area* PictureBox::area() const {
    return static_cast<Area*>(widget());
}

void PictureBox::setPicture(const QPixmap& picture) {
    area()->picture = picture;
    area()->update();
}

void PictureBox::setBorder(bool border) {
    area()->setFrameStyle(border ? QFrame::StyledPanel | QFrame::Sunken : QFrame::NoFrame);
}

void PictureBox::setBackColor(int color) {
    area()->setAutoFillBackground(true);
    QPalette palette = area()->palette();
    palette.setColor(QPalette::Window, toQColor(color));
    area()->setPalette(palette);
}

void PictureBox::onClick(std::function<void()> handler) {
    area()->click = std::move(handler);
}

} // namespace forms
