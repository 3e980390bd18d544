#include "calibration/CalibrationCheckResultView.h"

#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

#include "base/StringTable.h"
#include "calibration/CalibrationCheckLayout.h"
#include "calibration/CalibrationCheckTexts.h"
#include "calibration/CalibrationControlIds.h"
#include "calibration/CalibrationFont.h"
#include "ui/ControlLookup.h"

namespace tavlin {
namespace {

constexpr int kTableFontPixels = 16;

QString Text(const char* builtIn) {
    return QString::fromStdString(Tr(builtIn));
}

QString Format(const char* builtIn, double value) {
    return QString::asprintf(Tr(builtIn).c_str(), value);
}

QColor ColourOf(const CheckPointResult& r) {
    if (!r.errorMm) {
        return QColor(110, 110, 110);
    }
    return r.within ? QColor(0, 150, 0) : QColor(210, 0, 0);
}

void Place(QWidget* widget, const ControlRect& r) {
    widget->setGeometry(r.x, r.y, r.width, r.height);
}

QLabel* Cell(QWidget* parent, const QString& text) {
    auto* label = new QLabel(text, parent);
    QFont font = CalibrationTextFont();
    font.setPixelSize(kTableFontPixels);
    label->setFont(font);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

}  // namespace

CalibrationCheckResultView::CalibrationCheckResultView(QWidget* parent) : QWidget(parent) {
    SetControlId(this, control::kCheckResult);
    setAutoFillBackground(true);
    verdict_ = new QLabel(this);
    SetControlId(verdict_, control::kCheckVerdict);
    verdict_->setAlignment(Qt::AlignCenter);
    tolerance_ = new QLabel(this);
    SetControlId(tolerance_, control::kCheckTolerance);
    tolerance_->setFont(CalibrationTextFont());
    tolerance_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    tolerance_->setWordWrap(true);
    table_ = new QWidget(this);
    SetControlId(table_, control::kCheckTable);
    new QGridLayout(table_);
    const char* captions[] = {checktext::kAccept, checktext::kCheckAgain,
                              checktext::kCalibrateAgain};
    const int ids[] = {control::kCheckAccept, control::kCheckAgain, control::kCheckCalibrateAgain};
    void (CalibrationCheckResultView::*emitters[])() = {
        &CalibrationCheckResultView::accepted, &CalibrationCheckResultView::checkAgain,
        &CalibrationCheckResultView::calibrateAgain};
    for (int i = 0; i < 3; ++i) {
        buttons_[i] = new QPushButton(Text(captions[i]), this);
        SetControlId(buttons_[i], ids[i]);
        buttons_[i]->setAutoDefault(false);
        connect(buttons_[i], &QPushButton::clicked, this, emitters[i]);
    }
}

void CalibrationCheckResultView::SetCanCalibrateAgain(bool can) {
    buttons_[2]->setVisible(can);
}

void CalibrationCheckResultView::LayOut(int screenWidth, int screenHeight) {
    setGeometry(0, 0, screenWidth, screenHeight);
    Place(verdict_, CheckVerdictRect(screenWidth, screenHeight));
    QFont big = CalibrationTextFont();
    big.setPixelSize(CheckVerdictFontPixels(screenHeight));
    big.setBold(true);
    verdict_->setFont(big);
    Place(tolerance_, CheckToleranceRect(screenWidth, screenHeight));
    Place(table_, CheckTableRect(screenWidth, screenHeight));
    for (int i = 0; i < 3; ++i) {
        Place(buttons_[i], CheckButtonRect(screenWidth, screenHeight, i));
    }
}

QString CalibrationCheckResultView::PixelsText(double errorPx) {
    return QString::number(errorPx, 'f', 1);
}

QString CalibrationCheckResultView::MmText(const std::optional<double>& errorMm) {
    return errorMm ? QString::number(*errorMm, 'f', 2) : QStringLiteral("-");
}

void CalibrationCheckResultView::Show(const CalibrationCheck& check) {
    results_ = check.results();
    screen_ = check.screen();
    toleranceMm_ = check.toleranceMm();
    const CheckVerdict verdict = check.verdict();
    const char* word = verdict == CheckVerdict::Pass   ? checktext::kPass
                       : verdict == CheckVerdict::Fail ? checktext::kFail
                                                       : checktext::kNoVerdict;
    verdict_->setText(Text(word));
    QPalette palette = verdict_->palette();
    palette.setColor(QPalette::WindowText, verdict == CheckVerdict::Pass   ? QColor(0, 150, 0)
                                           : verdict == CheckVerdict::Fail ? QColor(210, 0, 0)
                                                                           : QColor(110, 110, 110));
    verdict_->setPalette(palette);
    QString tolerance = Format(checktext::kTolerance, check.toleranceMm());
    if (verdict == CheckVerdict::PixelsOnly) {
        tolerance += QLatin1Char('\n') + Text(checktext::kPixelsOnly);
    }
    tolerance_->setText(tolerance);
    FillTable(check);
    update();
}

void CalibrationCheckResultView::FillTable(const CalibrationCheck& check) {
    auto* grid = static_cast<QGridLayout*>(table_->layout());
    while (QLayoutItem* item = grid->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    const char* headings[] = {checktext::kColumnPoint, checktext::kColumnPixels,
                              checktext::kColumnMm, checktext::kColumnInput};
    for (int c = 0; c < 4; ++c) {
        grid->addWidget(Cell(table_, Text(headings[c])), 0, c);
    }
    const auto& results = check.results();
    for (int row = 0; row < static_cast<int>(results.size()); ++row) {
        const CheckPointResult& r = results[row];
        const QString cells[] = {
            QString::number(row + 1), PixelsText(r.errorPx), MmText(r.errorMm),
            Text(r.input == CheckInput::Mouse ? checktext::kMouse : checktext::kTouch)};
        for (int c = 0; c < 4; ++c) {
            QLabel* cell = Cell(table_, cells[c]);
            if (c == 2 && r.errorMm) {
                QPalette palette = cell->palette();
                palette.setColor(QPalette::WindowText, ColourOf(r));
                cell->setPalette(palette);
            }
            grid->addWidget(cell, row + 1, c);
        }
    }
}

void CalibrationCheckResultView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    for (size_t i = 0; i < results_.size(); ++i) {
        const CheckPointResult& r = results_[i];
        const QPointF target(r.target.x, r.target.y);
        const QPointF touch(r.touchX, r.touchY);
        // The target as the operator saw it.
        painter.setPen(QPen(Qt::black, 2, Qt::SolidLine, Qt::FlatCap));
        painter.drawLine(target - QPointF(20, 0), target + QPointF(19, 0));
        painter.drawLine(target - QPointF(0, 20), target + QPointF(0, 19));
        painter.drawText(target + QPointF(-20, -8), QString::number(i + 1));
        if (screen_.HasPhysicalSize()) {
            painter.setPen(QPen(Qt::gray, 1, Qt::DashLine));
            const double reach = toleranceMm_ * kVectorScale;
            painter.drawEllipse(target, reach * screen_.width / screen_.widthMm,
                                reach * screen_.height / screen_.heightMm);
        }
        const QColor colour = ColourOf(r);
        painter.setPen(QPen(colour, 3, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(target, target + (touch - target) * kVectorScale);
        painter.setPen(QPen(colour, 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(touch, 4, 4);  // where the touch landed, to scale
    }
}

}  // namespace tavlin
