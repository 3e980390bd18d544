#pragma once
#include <QWidget>
#include <vector>

#include "calibration/CalibrationCheck.h"

class QLabel;
class QPushButton;

namespace tavlin {

// The check's result screen: each check point with the place its touch landed and the error
// vector drawn ten times longer (green within the tolerance, red beyond, grey where millimetres
// are unknown) and, around each point, the tolerance at the same scale (where millimetres are
// known): a vector that ends inside it is within. The verdict in large letters, the tolerance, a
// table of the errors and the buttons accept, check again and calibrate again.
class CalibrationCheckResultView : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kVectorScale = 10;

    explicit CalibrationCheckResultView(QWidget* parent);

    void Show(const CalibrationCheck& check);
    void LayOut(int screenWidth, int screenHeight);
    // Without a way to calibrate again (no device launcher) its button is hidden.
    void SetCanCalibrateAgain(bool can);

    // What a table cell shows for an error.
    static QString PixelsText(double errorPx);
    static QString MmText(const std::optional<double>& errorMm);

  signals:
    void accepted();
    void checkAgain();
    void calibrateAgain();

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void FillTable(const CalibrationCheck& check);

    std::vector<CheckPointResult> results_;
    CheckScreen screen_;
    double toleranceMm_ = 0;
    QLabel* verdict_ = nullptr;
    QLabel* tolerance_ = nullptr;
    QWidget* table_ = nullptr;
    QPushButton* buttons_[3] = {};
};

}  // namespace tavlin
