#pragma once
#include <QColor>
#include <QWidget>

#include "calibration/CalibrationView.h"

namespace tavlin {

// The calibration crosshair (control 1062): a 40 x 40 control that shows a cross of two
// 2-pixel black lines through its centre, or nothing but the window's background.
class CrosshairControl : public QWidget {
    Q_OBJECT
  public:
    explicit CrosshairControl(QWidget* parent);
    void Show(CalibrationView::Crosshair mode);
    CalibrationView::Crosshair mode() const { return mode_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    CalibrationView::Crosshair mode_ = CalibrationView::Crosshair::Blank;
};

}  // namespace tavlin
