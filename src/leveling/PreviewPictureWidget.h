#pragma once
#include <QImage>
#include <QWidget>

#include "leveling/DrawPreview.h"

namespace tavlin {

// A sensor's picture in the leveling window. It keeps the last painted frame and shows it again
// whenever it is repainted (a window moved over it), instead of staying empty until the worker's
// next cycle.
class PreviewPictureWidget : public QWidget {
  public:
    explicit PreviewPictureWidget(QWidget* parent);

    // Paints the frame through the image description; without one nothing changes.
    void Draw(const PreviewImageInfo* info, const PreviewFrame& frame);
    const QImage& image() const { return image_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QImage image_;
};

}  // namespace tavlin
