// The leveling window's controls, their layout and the set-up.
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSlider>

#include "base/StringTable.h"
#include "leveling/CsensorsetmpDlg.h"
#include "leveling/ImagePreviewThread.h"
#include "leveling/LevelingControlIds.h"
#include "leveling/LevelingLayout.h"
#include "leveling/LevelingTexts.h"
#include "leveling/LevelingViewBridge.h"
#include "leveling/PreviewPictureWidget.h"
#include "ui/ControlLookup.h"

namespace tavlin {
namespace {

using namespace leveling;

QString Text(const char* builtIn) {
    return QString::fromStdString(Tr(builtIn));
}

}  // namespace

void CsensorsetmpDlg::BuildControls() {
    setWindowTitle(Text(text::kCaption));
    // "宋体" exists only on Windows; elsewhere a CJK face the install brings stands in.
    font_.setFamilies({QStringLiteral("宋体"), QStringLiteral("SimSun"),
                       QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC")});
    font_.setPixelSize(18);

    auto button = [&](int id, const char* caption, bool shown) {
        auto* b = new QPushButton(Text(caption), this);
        SetControlId(b, id);
        b->setFont(font_);
        b->setAutoDefault(false);
        b->setVisible(shown);
        return b;
    };
    auto label = [&](int id, const QString& caption, bool shown) {
        auto* l = new QLabel(caption, this);
        SetControlId(l, id);
        l->setFont(font_);
        l->setWordWrap(true);
        l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        l->setVisible(shown);
        return l;
    };

    auto* ok = button(kOk, text::kOk, true);
    connect(ok, &QPushButton::clicked, this, &CsensorsetmpDlg::accept);
    const char* labels[] = {text::kStartLine, text::kLevel, text::kAngle, text::kExposureLabel};
    for (int id = kFirstLabel; id <= kLastLabel; ++id) {
        label(id, Text(labels[(id - kFirstLabel) % 4]), false);
    }
    for (int sensor : {kMaster, kSlave}) {
        auto* slider = new QSlider(Qt::Horizontal, this);
        SetControlId(slider, sensor == kMaster ? kMasterSlider : kSlaveSlider);
        connect(slider, &QSlider::actionTriggered, this,
                [this, sensor](int) { OnSliderAction(sensor); });
        sliders_[sensor] = slider;
        const int down = sensor == kMaster ? kMasterDown : kSlaveDown;
        connect(button(down, text::kDown, true), &QPushButton::clicked, this,
                [this, sensor] { OnArrow(sensor, false); });
        connect(button(down + 1, text::kUp, true), &QPushButton::clicked, this,
                [this, sensor] { OnArrow(sensor, true); });
        pictures_[sensor] = new PreviewPictureWidget(this);
        SetControlId(pictures_[sensor], sensor == kMaster ? kMasterPicture : kSlavePicture);
        statuses_[sensor] = label(sensor == kMaster ? kMasterStatus : kSlaveStatus, {}, true);
    }
    connect(button(kExposure, text::kExposureButton, true), &QPushButton::clicked, this,
            &CsensorsetmpDlg::OnExposure);
    button(kSecondExposure, text::kExposureButton, false);
    const char* lineButtons[] = {text::kLineStartLeft, text::kLineStartRight, text::kLineEndLeft,
                                 text::kLineEndRight};
    for (int id = kFirstLineButton; id <= kLastLineButton; ++id) {
        button(id, lineButtons[(id - kFirstLineButton) % 4], false);
    }
    label(kTips, {}, true);
    button(kSaveInfo, text::kSaveInfo, false);
}

void CsensorsetmpDlg::LayOut() {
    QScreen* screen = this->screen() != nullptr ? this->screen() : QGuiApplication::primaryScreen();
    const QRect area = screen->geometry();
    setGeometry(area);
    for (const auto& [id, r] : LevelingLayout(area.width(), area.height())) {
        if (QWidget* w = findControl(this, id)) {
            w->setGeometry(r.x, r.y, r.width, r.height);
        }
    }
}

void CsensorsetmpDlg::SetUp() {
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    LayOut();
    findControl<QLabel>(this, kTips)->setText(QString::fromStdString(LoadString(IDS_LEVEL_TIPS)));
    SetStatus(kMaster, LoadString(IDS_INITIALISING));
    SetStatus(kSlave, LoadString(IDS_INITIALISING));
    findControl(this, kSecondExposure)->setEnabled(false);

    state_.g_isMidwayExit = 0;
    for (auto& info : imageInfo_) {
        info = MakePreviewImageInfo();
    }
    state_.g_isExposureAdjusted = 0;
    state_.g_isSearchDone = 0;
    for (QSlider* slider : sliders_) {
        slider->setRange(kSliderMin, kSliderMax);
        slider->setValue(kSliderStart);
    }
    // The space key is taken before any control sees it.
    installEventFilter(this);
    for (QWidget* child : findChildren<QWidget*>()) {
        child->installEventFilter(this);
    }
    if (state_.g_PreviewThread == nullptr) {
        worker_ = std::make_unique<ImagePreviewThread>(state_, *bridge_);
        if (!worker_->Start()) {
            worker_.reset();
        }
    }
}

}  // namespace tavlin
