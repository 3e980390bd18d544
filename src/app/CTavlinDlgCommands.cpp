// The main window's command handlers: Step Debug, FPGA download, scripts, mode toggle and
// version button, clear, and the two ways out (OK and Cancel).
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

#include "app/CTavlinDlg.h"
#include "app/HeldView.h"
#include "base/ControlIds.h"
#include "base/Log.h"
#include "base/StringTable.h"
#include "console/ExitProcedure.h"
#include "console/FpgaDownload.h"
#include "console/ModeSwitcher.h"
#include "console/RegisterPanel.h"
#include "console/ScriptRunner.h"
#include "device/CommandThread.h"
#include "platform/PrivateProfile.h"
#include "ui/ControlLookup.h"
#include "ui/FileChooser.h"
#include "ui/UiTexts.h"
#ifdef TAVLIN_RECORDS
#include "records/RecordContent.h"
#endif

namespace tavlin {

QString CTavlinDlg::ChooseFile(const char* iniSection, const char* filter) {
    // The start folder comes from OpenFile.ini beside the tool's working directory; the dialog
    // never changes the working directory (image and burst files are relative to it).
    const std::string dir =
        GetPrivateProfileString(iniSection, "FileDir", "", "./OpenFile.ini", 128);
    return ui::ChooseFileToOpen(this, QString::fromStdString(dir), filter, QFileDialog::ReadOnly);
}

void CTavlinDlg::OnChooseFpgaFile() {
    const QString chosen = ChooseFile("FPGA", ui::kFpgaFilter);
    if (!chosen.isEmpty()) {
        fpgaPath_ = chosen;
    }
    UpdateData(false);
}

void CTavlinDlg::OnChooseScript() {
    const QString chosen = ChooseFile("SCRIPT", ui::kScriptFilter);
    if (!chosen.isEmpty()) {
        scriptPath_ = chosen;
    }
    UpdateData(false);
}

void CTavlinDlg::OnDownloadFpga() {
    UpdateData(true);
    const std::string path = fpgaPath_.toStdString();
    if (state_.g_bDevExist == 0 || fpgaDownload_->Running()) {
        // Nothing is asked of the device: the worker only tells why.
        static_cast<void>(fpgaDownload_->Start(path));
        return;
    }
    auto run = BeginRecord("fpga", {path});
    // A download takes seconds: all it reports waits for its record, so its last lines never
    // show a result the station has not kept.
    bridge_->Hold();
    const Result started = fpgaDownload_->Start(path);
    FpgaDownload* download = fpgaDownload_.get();
    Event* finished = &state_.g_FpgaFinishedEvent;
    CompleteRecordAfter(
        run,
        [started, finished] {
            if (started) {
                // The worker's every wait is bounded; the exit path stops it.
                static_cast<void>(finished->Wait(INFINITE));
            }
        },
        [started, download, path](RunRecord& record) {
            if (!started) {
                return started;
            }
#ifdef TAVLIN_RECORDS
            AddArtefact(record, "fpga", path);
#else
            (void)record;
#endif
            return download->outcome();
        },
        [this] { bridge_->Release(); });
}

void CTavlinDlg::OnRunScript() {
    UpdateData(true);
    const std::string path = scriptPath_.toStdString();
    if (state_.g_bDevExist == 0 || scriptRunner_->Running()) {
        static_cast<void>(scriptRunner_->Start(path));
        return;
    }
    // A script may run for minutes and shows its lines as it goes: its record is completed
    // once it has ended, and a record not kept is told then.
    auto run = BeginRecord("script", {path});
    const Result started = scriptRunner_->Start(path);
    ScriptRunner* runner = scriptRunner_.get();
    Event* finished = &state_.g_ScriptFinishedEvent;
    CompleteRecordAfter(
        run,
        [started, finished] {
            if (started) {
                static_cast<void>(finished->Wait(INFINITE));
            }
        },
        [started, runner](RunRecord&) { return started ? runner->outcome() : started; }, [] {});
}

void CTavlinDlg::OnRegisterWrite() {
    UpdateData(true);
    const bool sensor = findControl<QCheckBox>(this, control::kSensorBox)->isChecked();
    const std::string address = regAddrText_.toStdString();
    const std::string value = readValueText_.toStdString();
    std::vector<std::string> arguments{address, value};
    if (sensor) {
        arguments.insert(arguments.begin(), "--i2c");
    }
    RunRecordedRequest("write", std::move(arguments), [=, this](RequestHandle* posted) {
        return registerPanel_->Write(address, value, sensor, posted);
    });
}

void CTavlinDlg::OnRegisterRead() {
    UpdateData(true);
    const bool sensor = findControl<QCheckBox>(this, control::kSensorBox)->isChecked();
    const std::string address = regAddrText_.toStdString();
    std::vector<std::string> arguments{address};
    if (sensor) {
        arguments.insert(arguments.begin(), "--i2c");
    }
    RunRecordedRequest("read", std::move(arguments), [=, this](RequestHandle* posted) {
        return registerPanel_->Read(address, sensor, posted);
    });
}

void CTavlinDlg::RunRecordedRequest(std::string command, std::vector<std::string> arguments,
                                    const std::function<Result(RequestHandle*)>& post) {
    if (state_.g_bDevExist == 0) {
        // Nothing is asked of the device: the panel only tells why.
        static_cast<void>(post(nullptr));
        return;
    }
    auto run = BeginRecord(std::move(command), std::move(arguments));
    // What the command thread reports of the request waits for its record.
    bridge_->Hold();
    RequestHandle request;
    const Result posted = post(&request);
    CompleteRecordAfter(
        run,
        [request] {
            if (request) {
                static_cast<void>(request->handled.Wait(kRequestWaitLimitMs));
            }
        },
        [posted, request](RunRecord&) {
            if (!posted || !request) {
                return posted;
            }
            if (request->handled.Wait(0) != WAIT_OBJECT_0) {
                return Result::Fail(ResultCode::Timeout, "the request was not served in time");
            }
            return request->result;
        },
        [this] { bridge_->Release(); });
}

void CTavlinDlg::OnSlaveClicked() {
    // Only a flag for the refresh; the side of a request is bit 28 of its address word.
    slaveCheck_ = slaveCheck_ ? 0 : 1;
}

void CTavlinDlg::OnModeToggle() {
    if (state_.g_bDevExist == 0) {
        // Nothing is asked of the device: the switcher only tells why.
        const std::string caption = modeControl_->Toggle(modeToggle_->text().toStdString());
        modeToggle_->setText(QString::fromStdString(caption));
        return;
    }
    const std::string before = modeToggle_->text().toStdString();
    const bool toWork = before == LoadString(IDS_MODE_WORK);
    auto run = BeginRecord("mode", {toWork ? "work" : "calibration"});
    // The switch's texts wait for its record.
    auto held = std::make_shared<HeldView>();
    ModeSwitcher switcher(state_, *held);
    Result outcome;
    const std::string caption = switcher.Toggle(before, &outcome);
    // The caption names the other mode once the device switched (even if the versions read
    // after it failed).
    const bool switched = caption != before;
    const std::int64_t mode = toWork ? ModeSwitcher::kWorkMode : ModeSwitcher::kCalibrationMode;
    CompleteRecord(
        run, outcome,
        [switched, mode](RunRecord& record) {
            if (switched) {
                record.unit.mode = mode;
            }
        },
        [this, held, caption] {
            held->Release(*bridge_);
            modeToggle_->setText(QString::fromStdString(caption));
        });
}

void CTavlinDlg::OnVersionButton() {
    static_cast<void>(modeControl_->versions().VersionButton());
}

void CTavlinDlg::reject() {
    if (shutDown_) {
        QDialog::reject();
        return;
    }
    state_.g_isDlgClosing = 1;
    Shutdown(false);
    QDialog::reject();
}

void CTavlinDlg::accept() {
    if (shutDown_) {
        QDialog::accept();
        return;
    }
    Shutdown(true);
    UpdateData(true);
    QDialog::accept();
}

void CTavlinDlg::Shutdown(bool okPath) {
    if (shutDown_) {
        return;
    }
    shutDown_ = true;
    StopPresence();
    StopWorkers(state_, scriptRunner_.get(), fpgaDownload_.get(), commandThread_.get());
    TellSessionTraceAtClose();  // before the log's end line
    if (okPath) {
        CloseDevice();
        ShutdownCleanup(state_);
    } else {
        ShutdownCleanup(state_);
        CloseDevice();
    }
}

void CTavlinDlg::CloseDevice() {
    CloseHidDevice(device_);
}

}  // namespace tavlin
