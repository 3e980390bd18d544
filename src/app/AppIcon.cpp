#include "app/AppIcon.h"

#include <QPainter>
#include <QPixmap>

namespace tavlin {

QIcon AppIcon() {
    QIcon icon;
    for (int size : {16, 32, 48, 64}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.setBrush(QColor(0x1F, 0x5F, 0xA8));
        p.setPen(Qt::NoPen);
        p.drawRoundedRect(QRectF(0, 0, size, size), size / 6.0, size / 6.0);
        QPen pen(Qt::white);
        pen.setWidthF(size / 12.0);
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        const double c = size / 2.0;
        p.drawEllipse(QPointF(c, c), size * 0.28, size * 0.28);
        p.drawLine(QPointF(c, size * 0.12), QPointF(c, size * 0.88));
        p.drawLine(QPointF(size * 0.12, c), QPointF(size * 0.88, c));
        icon.addPixmap(pixmap);
    }
    return icon;
}

}  // namespace tavlin
