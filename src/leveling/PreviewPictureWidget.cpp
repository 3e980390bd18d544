#include "leveling/PreviewPictureWidget.h"

#include <QPainter>

namespace tavlin {

PreviewPictureWidget::PreviewPictureWidget(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent, false);
}

void PreviewPictureWidget::Draw(const PreviewImageInfo* info, const PreviewFrame& frame) {
    PreviewPicture picture;
    if (!DrawPreview(info, frame, &picture)) {
        return;
    }
    image_ = QImage(reinterpret_cast<const uchar*>(picture.pixels.data()), kPictureWidth,
                    kPictureHeight, kPictureWidth * 4, QImage::Format_RGB32)
                 .copy();
    update();
}

void PreviewPictureWidget::paintEvent(QPaintEvent*) {
    if (image_.isNull()) {
        return;
    }
    QPainter painter(this);
    painter.drawImage(0, 0, image_);
}

}  // namespace tavlin
