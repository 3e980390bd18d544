#include "calibration/CrosshairControl.h"

#include <QPainter>
#include <QPen>

namespace tavlin {

CrosshairControl::CrosshairControl(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);  // the stylus touches the screen, not us
}

void CrosshairControl::Show(CalibrationView::Crosshair mode) {
    mode_ = mode;
    update();
}

void CrosshairControl::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    if (mode_ == CalibrationView::Crosshair::Blank) {
        return;
    }
    painter.setPen(QPen(Qt::black, 2, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(0, 20, 39, 20);
    painter.drawLine(20, 0, 20, 39);
}

}  // namespace tavlin
