#include "firmware/CfirmwareUpdateDlg.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

#include "base/StringTable.h"
#include "firmware/FirmwareControlIds.h"
#include "firmware/FirmwareLayout.h"
#include "firmware/FirmwareTexts.h"
#include "ui/ControlLookup.h"
#include "ui/DialogKeys.h"
#include "ui/UiTexts.h"

namespace tavlin {
namespace {

QString Text(const char* builtIn) {
    return QString::fromStdString(Tr(builtIn));
}

template <typename W>
W* Place(W* widget, int id, const FwRect& r) {
    if (id != 0) {
        SetControlId(widget, id);
    }
    widget->setGeometry(r.x, r.y, r.w, r.h);
    return widget;
}

}  // namespace

CfirmwareUpdateDlg::CfirmwareUpdateDlg(SharedState& state, ConsoleView& mainView,
                                       ModeSwitcher& modes, bool engineering, QWidget* parent)
    : QDialog(parent), state_(state), main_(mainView), session_(state, *this, mainView, modes) {
    BuildControls(engineering);
    preparation_.setSingleShot(true);
    preparation_.setInterval(std::chrono::duration_cast<std::chrono::milliseconds>(
        FirmwareSession::kPreparationDeadline));
    connect(&preparation_, &QTimer::timeout, this,
            [this] { session_.PreparationExpired(StatusText()); });
    InitDialog();
}

// The session's destructor stops a worker that still runs (a window torn down without its exit
// handlers); its queued texts to this window are dropped with the window.
CfirmwareUpdateDlg::~CfirmwareUpdateDlg() = default;

void CfirmwareUpdateDlg::BuildControls(bool engineering) {
    setWindowTitle(Text(ui::kUpdateFirmware));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto* ok = Place(new QPushButton(Text(ui::kOk), this), fwcontrol::kOk,
                     FirmwareTemplateRect(209, 179, 50, 14));
    ok->hide();
    auto* exit = Place(new QPushButton(Text(ui::kExit), this), fwcontrol::kExit,
                       FirmwareTemplateRect(253, 164, 50, 14));
    connect(exit, &QPushButton::clicked, this, &CfirmwareUpdateDlg::reject);

    status_ =
        Place(new QLabel(this), fwcontrol::kStatusLine, FirmwareTemplateRect(59, 32, 194, 18));
    status_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    status_->setWordWrap(true);
    Place(new QLabel(Text(fw::kProgressLabel), this), 0, FirmwareTemplateRect(16, 84, 42, 8));
    progress_ =
        Place(new QProgressBar(this), fwcontrol::kProgress, FirmwareTemplateRect(70, 82, 166, 14));

    auto* choose = Place(new QPushButton(Text(fw::kPackageButton), this), fwcontrol::kChoosePackage,
                         FirmwareTemplateRect(15, 117, 39, 14));
    connect(choose, &QPushButton::clicked, this, &CfirmwareUpdateDlg::OnChoosePackage);
    packagePath_ =
        Place(new QLineEdit(this), fwcontrol::kPackagePath, FirmwareTemplateRect(71, 117, 166, 14));
    auto* update = Place(new QPushButton(Text(fw::kOneKeyUpdate), this), fwcontrol::kOneKeyUpdate,
                         FirmwareTemplateRect(252, 117, 50, 14));
    connect(update, &QPushButton::clicked, this, [this] { session_.OneKeyUpdate(); });

    BuildEngineeringControls(engineering);
    for (auto* button : findChildren<QPushButton*>()) {
        button->setAutoDefault(false);  // Enter is the window's OK handler
    }
    resize(kFirmwareWindowWidth, kFirmwareWindowHeight);
}

// The template hides these; --engineering shows them, since nothing else would ever reach them.
void CfirmwareUpdateDlg::BuildEngineeringControls(bool engineering) {
    std::vector<QWidget*> controls;
    auto* toggle = Place(new QPushButton(Text(fw::kSwitchMode), this), fwcontrol::kSwitchMode,
                         FirmwareTemplateRect(253, 66, 50, 14));
    connect(toggle, &QPushButton::clicked, this, [this] { session_.SwitchBackToApplication(); });
    controls.push_back(toggle);
    controls.push_back(
        Place(new QLabel(Text(fw::kImageLabel), this), 0, FirmwareTemplateRect(16, 136, 39, 18)));
    controls.push_back(
        Place(new QLabel(Text(fw::kFpgaLabel), this), 0, FirmwareTemplateRect(17, 148, 36, 8)));
    fpgaPath_ =
        Place(new QLineEdit(this), fwcontrol::kFpgaPath, FirmwareTemplateRect(57, 146, 166, 14));
    controls.push_back(fpgaPath_);
    auto* chooseFpga = Place(new QPushButton(Text(ui::kBrowse), this), fwcontrol::kChooseFpga,
                             FirmwareTemplateRect(228, 145, 19, 14));
    connect(chooseFpga, &QPushButton::clicked, this, &CfirmwareUpdateDlg::OnChooseFpga);
    controls.push_back(chooseFpga);
    // The FPGA update button of this window has no handler.
    controls.push_back(Place(new QPushButton(Text(fw::kFpgaUpdate), this), fwcontrol::kFpgaUpdate,
                             FirmwareTemplateRect(252, 144, 50, 14)));
    const struct {
        int id;
        const char* caption;
        FwRect rect;
    } buttons[] = {
        {fwcontrol::kReadImageInfo, fw::kReadImageInfo, FirmwareTemplateRect(18, 161, 71, 14)},
        {fwcontrol::kWriteImageInfo, fw::kWriteImageInfo, FirmwareTemplateRect(18, 185, 72, 14)},
        {fwcontrol::kReadFpgaInfo, fw::kReadFpgaInfo, FirmwareTemplateRect(124, 161, 66, 14)},
        {fwcontrol::kWriteFpgaInfo, fw::kWriteFpgaInfo, FirmwareTemplateRect(125, 184, 67, 14)},
    };
    for (const auto& b : buttons) {
        auto* button = Place(new QPushButton(Text(b.caption), this), b.id, b.rect);
        connect(button, &QPushButton::clicked, this,
                [this, id = b.id] { session_.VersionButton(id); });
        controls.push_back(button);
    }
    for (QWidget* w : controls) {
        w->setVisible(engineering);
    }
}

void CfirmwareUpdateDlg::InitDialog() {
    PlaceStatusLine();
    progress_->setRange(0, 100);
    progress_->setValue(0);
    ShowStatus(session_.Open());
    packagePath_->setText(QString::fromStdString(state_.g_FwPackagePath));
    if (state_.g_isFwUpdateMode == 0) {
        preparation_.start();
    }
}

void CfirmwareUpdateDlg::SetPreparationDeadline(std::chrono::milliseconds deadline) {
    preparation_.setInterval(static_cast<int>(deadline.count()));
    if (preparation_.isActive()) {
        preparation_.start();
    }
}

void CfirmwareUpdateDlg::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    PlaceStatusLine();
}

void CfirmwareUpdateDlg::PlaceStatusLine() {
    const FwRect r =
        PlaceFirmwareStatusLine(width(), height(), status_->width(), status_->height());
    status_->move(r.x, r.y);
}

void CfirmwareUpdateDlg::SetFirmwareStatus(const std::string& text) {
    QMetaObject::invokeMethod(
        this, [this, text] { ShowStatus(text); }, Qt::QueuedConnection);
}

void CfirmwareUpdateDlg::SetProgress(int position) {
    QMetaObject::invokeMethod(
        this, [this, position] { progress_->setValue(position); }, Qt::QueuedConnection);
}

void CfirmwareUpdateDlg::SetMainVersionText(const std::string& text) {
    main_.SetVersionText(text);
}

void CfirmwareUpdateDlg::ShowStatus(const std::string& text) {
    status_->setText(QString::fromStdString(text));
}

std::string CfirmwareUpdateDlg::StatusText() const {
    return status_->text().toStdString();
}

void CfirmwareUpdateDlg::accept() {
    if (session_.Ok(StatusText()) != FirmwareSession::Exit::StayOpen) {
        preparation_.stop();
        QDialog::accept();
    }
}

void CfirmwareUpdateDlg::reject() {
    if (session_.Cancel(StatusText()) != FirmwareSession::Exit::StayOpen) {
        preparation_.stop();
        QDialog::reject();
    }
}

// As from the failed-setup state, the only one in which the exit button would not wait: a
// device in its update environment leaves it, one still in work mode is returned to it.
void CfirmwareUpdateDlg::Quit() {
    session_.Cancel(LoadString(IDS_FW_ENV_FAILED));
    preparation_.stop();
    QDialog::reject();
}

void CfirmwareUpdateDlg::keyPressEvent(QKeyEvent* event) {
    if (!HandleDialogKey(*this, *event)) {
        QDialog::keyPressEvent(event);
    }
}

}  // namespace tavlin
