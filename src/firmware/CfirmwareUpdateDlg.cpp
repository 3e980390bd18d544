#include "firmware/CfirmwareUpdateDlg.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <chrono>

#include "base/StringTable.h"
#include "firmware/FirmwareControlIds.h"
#include "firmware/FirmwareLayout.h"
#include "firmware/FirmwareTexts.h"
#include "ui/ControlLookup.h"
#include "ui/DialogKeys.h"
#include "ui/UiTexts.h"

namespace tavlin {
namespace {

int64_t WallClockMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

QString Text(const char* builtIn) {
    return QString::fromStdString(Tr(builtIn));
}

// Where the layout puts a widget: its control id, or the slot of a label without one.
constexpr const char* kLayoutSlot = "layoutSlot";

template <typename W>
W* Make(W* widget, int id) {
    if (id > 0) {
        SetControlId(widget, id);
    }
    widget->setProperty(kLayoutSlot, id);
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

// A worker that still runs (a window torn down without its exit handlers) is stopped while the
// window's parts it reports to are whole; its queued texts to this window are dropped with it.
CfirmwareUpdateDlg::~CfirmwareUpdateDlg() {
    session_.worker().StopAndWait();
}

void CfirmwareUpdateDlg::BuildControls(bool engineering) {
    setWindowTitle(Text(ui::kUpdateFirmware));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    Make(new QPushButton(Text(ui::kOk), this), fwcontrol::kOk)->hide();
    auto* exit = Make(new QPushButton(Text(ui::kExit), this), fwcontrol::kExit);
    connect(exit, &QPushButton::clicked, this, &CfirmwareUpdateDlg::reject);

    status_ = Make(new QLabel(this), fwcontrol::kStatusLine);
    status_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    status_->setWordWrap(true);
    Make(new QLabel(Text(fw::kProgressLabel), this), fwslot::kProgressLabel);
    progress_ = Make(new QProgressBar(this), fwcontrol::kProgress);

    auto* choose = Make(new QPushButton(Text(fw::kPackageButton), this), fwcontrol::kChoosePackage);
    connect(choose, &QPushButton::clicked, this, &CfirmwareUpdateDlg::OnChoosePackage);
    packagePath_ = Make(new QLineEdit(this), fwcontrol::kPackagePath);
    signer_ = Make(new QLabel(this), fwcontrol::kPackageSigner);
    auto* update = Make(new QPushButton(Text(fw::kOneKeyUpdate), this), fwcontrol::kOneKeyUpdate);
    connect(update, &QPushButton::clicked, this, &CfirmwareUpdateDlg::OnOneKeyUpdate);

    BuildEngineeringControls(engineering);
    for (auto* button : findChildren<QPushButton*>()) {
        button->setAutoDefault(false);  // Enter is the window's OK handler
    }
    LayOut();
}

// The template hides these; --engineering shows them, since nothing else would ever reach them.
void CfirmwareUpdateDlg::BuildEngineeringControls(bool engineering) {
    std::vector<QWidget*> controls;
    auto* toggle = Make(new QPushButton(Text(fw::kSwitchMode), this), fwcontrol::kSwitchMode);
    connect(toggle, &QPushButton::clicked, this, [this] { session_.SwitchBackToApplication(); });
    controls.push_back(toggle);
    controls.push_back(Make(new QLabel(Text(fw::kImageLabel), this), fwslot::kImageLabel));
    controls.push_back(Make(new QLabel(Text(fw::kFpgaLabel), this), fwslot::kFpgaLabel));
    fpgaPath_ = Make(new QLineEdit(this), fwcontrol::kFpgaPath);
    controls.push_back(fpgaPath_);
    auto* chooseFpga = Make(new QPushButton(Text(ui::kBrowse), this), fwcontrol::kChooseFpga);
    connect(chooseFpga, &QPushButton::clicked, this, &CfirmwareUpdateDlg::OnChooseFpga);
    controls.push_back(chooseFpga);
    // The FPGA update button of this window has no handler.
    controls.push_back(Make(new QPushButton(Text(fw::kFpgaUpdate), this), fwcontrol::kFpgaUpdate));
    const struct {
        int id;
        const char* caption;
    } buttons[] = {
        {fwcontrol::kReadImageInfo, fw::kReadImageInfo},
        {fwcontrol::kWriteImageInfo, fw::kWriteImageInfo},
        {fwcontrol::kReadFpgaInfo, fw::kReadFpgaInfo},
        {fwcontrol::kWriteFpgaInfo, fw::kWriteFpgaInfo},
    };
    for (const auto& b : buttons) {
        auto* button = Make(new QPushButton(Text(b.caption), this), b.id);
        connect(button, &QPushButton::clicked, this,
                [this, id = b.id] { session_.VersionButton(id); });
        controls.push_back(button);
    }
    for (QWidget* w : controls) {
        w->setVisible(engineering);
    }
}

// The columns widen to what the shown captions need in the current language; the window widens
// with them.
void CfirmwareUpdateDlg::LayOut() {
    std::map<int, int> needed;
    for (QWidget* w : findChildren<QWidget*>()) {
        if (!w->isHidden() &&
            (qobject_cast<QLabel*>(w) != nullptr || qobject_cast<QPushButton*>(w) != nullptr) &&
            w != status_) {
            needed[w->property(kLayoutSlot).toInt()] = w->sizeHint().width();
        }
    }
    const FirmwarePlan plan = PlanFirmwareWindow(needed);
    for (QWidget* w : findChildren<QWidget*>()) {
        const QVariant slot = w->property(kLayoutSlot);
        if (auto it = plan.at.find(slot.toInt()); slot.isValid() && it != plan.at.end()) {
            w->setGeometry(it->second.x, it->second.y, it->second.w, it->second.h);
        }
    }
    resize(plan.width, plan.height);
}

void CfirmwareUpdateDlg::InitDialog() {
    PlaceStatusLine();
    progress_->setRange(0, 100);
    progress_->setValue(0);
    ShowStatus(session_.Open());
    packagePath_->setText(QString::fromStdString(state_.g_FwPackagePath));
    CheckChosenPackage(false);
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

void CfirmwareUpdateDlg::OnOneKeyUpdate() {
    ownChoice_ = true;
    const std::string package = state_.g_FwPackagePath;
    std::shared_ptr<UpdateHold> hold;
    std::shared_ptr<UpdateJournal> journal;
    if (gate_ && !session_.worker().Running()) {
        // Held from before the start: the worker may be done before the start returns.
        hold = std::make_shared<UpdateHold>(package, WallClockMs());
        journal = journalSource_ ? journalSource_() : nullptr;
        const std::lock_guard<std::mutex> lock(holdMutex_);
        hold_ = hold;
        journal_ = journal;
    }
    session_.OneKeyUpdate();
    if (hold == nullptr) {
        return;
    }
    const auto show = [self = QPointer<CfirmwareUpdateDlg>(this),
                       main = &main_](const UpdateHold::Call& call) {
        if (call.kind == UpdateHold::Kind::MainVersion) {
            main->SetVersionText(call.text);
        } else if (self != nullptr) {
            self->Pass(call);
        }
    };
    if (!hold->Ended() && !session_.worker().Running()) {
        // Nothing started: only why shows, at once.
        {
            const std::lock_guard<std::mutex> lock(holdMutex_);
            hold_.reset();
            journal_.reset();
        }
        hold->Release(show);
        return;
    }
    gate_(
        package, std::move(journal), [hold] { return hold->WaitForEnd(); },
        [hold, show] { hold->Release(show); });
}

std::shared_ptr<UpdateHold> CfirmwareUpdateDlg::CurrentHold() {
    const std::lock_guard<std::mutex> lock(holdMutex_);
    return hold_;
}

std::shared_ptr<UpdateJournal> CfirmwareUpdateDlg::CurrentJournal() {
    const std::lock_guard<std::mutex> lock(holdMutex_);
    return journal_;
}

void CfirmwareUpdateDlg::UpdateStarting(const LoadedPackage& package) {
    if (auto journal = CurrentJournal()) {
        static_cast<void>(journal->Starting(package));  // returns at once; its keeper logs
    }
}

void CfirmwareUpdateDlg::ImageGoing(ImageWrite write, uint64_t packet) {
    if (auto journal = CurrentJournal()) {
        journal->Writing(write, packet);
    }
}

// Any thread: queued to the UI thread.
void CfirmwareUpdateDlg::Pass(const UpdateHold::Call& call) {
    switch (call.kind) {
        case UpdateHold::Kind::Status:
            QMetaObject::invokeMethod(
                this, [this, text = call.text] { ShowStatus(text); }, Qt::QueuedConnection);
            break;
        case UpdateHold::Kind::Progress:
            QMetaObject::invokeMethod(
                this, [this, position = call.position] { progress_->setValue(position); },
                Qt::QueuedConnection);
            break;
        case UpdateHold::Kind::MainVersion:
            main_.SetVersionText(call.text);
            break;
    }
}

void CfirmwareUpdateDlg::SetFirmwareStatus(const std::string& text) {
    const UpdateHold::Call call{UpdateHold::Kind::Status, text};
    if (auto hold = CurrentHold()) {
        hold->Add(call, [this](const UpdateHold::Call& c) { Pass(c); });
    } else {
        Pass(call);
    }
}

void CfirmwareUpdateDlg::SetProgress(int position) {
    const UpdateHold::Call call{UpdateHold::Kind::Progress, {}, position};
    if (auto hold = CurrentHold()) {
        hold->Add(call, [this](const UpdateHold::Call& c) { Pass(c); });
    } else {
        Pass(call);
    }
}

void CfirmwareUpdateDlg::SetMainVersionText(const std::string& text) {
    const UpdateHold::Call call{UpdateHold::Kind::MainVersion, text};
    if (auto hold = CurrentHold()) {
        hold->Add(call, [this](const UpdateHold::Call& c) { Pass(c); });
    } else {
        Pass(call);
    }
}

void CfirmwareUpdateDlg::ImageWritten(ImageWrite write, const std::string& name, uint64_t bytes,
                                      int packets) {
    if (auto hold = CurrentHold()) {
        hold->Written({write, name, bytes, packets});
    }
}

// The worker's thread, as its last act: the versions it wrote are what the version line shows.
void CfirmwareUpdateDlg::UpdateEnded(const Result& result) {
    // The images are written: what is left is the restart out, which the window's exit asks for.
    if (auto journal = CurrentJournal(); journal != nullptr && result.ok()) {
        journal->Leaving();
    }
    if (auto hold = CurrentHold()) {
        std::optional<std::pair<uint32_t, uint32_t>> versions;
        if (result.ok()) {
            versions = {state_.g_ImageVersionM.load(), state_.g_ImageVersionS.load()};
        }
        hold->End(result, versions, WallClockMs());
    }
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
