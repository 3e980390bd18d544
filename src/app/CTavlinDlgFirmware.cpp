// The firmware tool's launcher (button 1027): the device is readied and asked to restart in its
// update environment, then the firmware window runs modally.
#include <QPointer>
#include <QPushButton>

#include "app/CTavlinDlg.h"
#include "base/ControlIds.h"
#include "base/FillText.h"
#include "base/Log.h"
#include "base/StringTable.h"
#include "cli/RecordTexts.h"
#include "device/HidDevice.h"
#include "firmware/CfirmwareUpdateDlg.h"
#include "firmware/FirmwareLauncher.h"
#include "station/UnfinishedUpdateText.h"
#include "ui/ControlLookup.h"
#include "ui/UiTexts.h"
#ifdef TAVLIN_RECORDS
#include <set>

#include "records/ArtefactFile.h"
#include "records/RecordContent.h"
#endif

namespace tavlin {
namespace {

// The update in the record's terms, as the command line keeps it: the images with their sensor
// and size, the versions before and after, the writing as a step, and the package and images as
// artefacts with their hashes (read here, on the records' thread).
void FillUpdate(const UpdateEnd& end, const std::string& versionsBefore, RunRecord& record) {
#ifdef TAVLIN_RECORDS
    record.unit.versionsBefore = versionsBefore;
    record.unit.versionsAfter =
        end.versions ? VersionsText(end.versions->first, end.versions->second) : std::string();
    record.steps.push_back(
        {"write images", end.startedMs, end.endedMs, end.result.ok() ? "passed" : "failed"});
    AddArtefact(record, "package", end.package);
    std::set<std::string> kept;
    for (const WrittenImage& image : end.images) {
        const ArtefactRecord file = ArtefactOfFile("image", image.name);
        if (kept.insert(image.name).second) {
            record.artefacts.push_back(file);
        }
        const char* section = image.write == ImageWrite::LInfo   ? "LInfo"
                              : image.write == ImageWrite::RInfo ? "RInfo"
                                                                 : "HInfo";
        // The window does not read the versions back: nothing is verified.
        record.images.push_back({section, SensorOf(image.write),
                                 static_cast<std::int64_t>(image.bytes), file.sha256, "",
                                 "skipped"});
    }
#else
    (void)end;
    (void)versionsBefore;
    (void)record;
#endif
}

}  // namespace

void CTavlinDlg::BuildFirmwareLauncher() {
    auto* button = new QPushButton(QString::fromStdString(Tr(ui::kUpdateFirmware)), this);
    SetControlId(button, control::kUpdateFirmware);
    button->resize(110, 32);
    connect(button, &QPushButton::clicked, this, &CTavlinDlg::OnUpdateFirmware);
}

void CTavlinDlg::OnUpdateFirmware() {
    // The unit being updated restarts twice; with several devices attached, the one that comes
    // back on its port is the one to follow.
    const KeepingToPort keep(device_);
    const FirmwareLaunch launch = PrepareFirmwareLaunch(state_, *bridge_, *modeControl_);
    if (launch == FirmwareLaunch::NoDevice || launch == FirmwareLaunch::Refused) {
        return;
    }
    // The launch read and showed the unit's versions before asking it to restart.
    std::string versionsBefore;
#ifdef TAVLIN_RECORDS
    if (state_.g_isVersionsShown != 0) {
        versionsBefore = VersionsText(state_.g_ImageVersionM, state_.g_ImageVersionS);
    }
#endif
    CfirmwareUpdateDlg dialog(state_, *bridge_, *modeControl_, options_.engineering, this);
    dialog.SetPackagePolicy(options_.packages);
    // Each update started in the window is a run of its own, begun as its worker starts; its
    // outcome shows in the window once its record is completed.
    // Its progress goes under the run's record from the worker's start: the restart into the
    // update environment was before any package was chosen.
    dialog.SetJournalSource([this] { return records_->NewUpdateJournal(); });
    dialog.SetUpdateGate(
        [this, versionsBefore](const std::string& package, std::shared_ptr<UpdateJournal> journal,
                               std::function<UpdateEnd()> ended, std::function<void()> release) {
            auto run = BeginRecord("update", {package});
            records_->KeepProgress(run, std::move(journal));
            auto end = std::make_shared<UpdateEnd>();
            CompleteRecordAfter(
                run, [end, ended = std::move(ended)] { *end = ended(); },
                [end, versionsBefore](RunRecord& record) {
                    FillUpdate(*end, versionsBefore, record);
                    return end->result;
                },
                std::move(release));
        });
    SetFirmwareStatusSink([&dialog](const std::string& text) { dialog.ShowStatus(text); });
    if (state_.deviceProductId == kProductIdUpdate) {
        TellUnfinishedUpdate(dialog);
    }
    dialog.exec();
    SetFirmwareStatusSink({});
    state_.g_isFwDlgOpen = 0;  // also when the window went without its exit handlers
}

// A unit already in its update environment may be one whose last update was cut off: the
// records tell where it stopped, and offer the package it was getting when its files are still
// those written. Looked up on the records' thread; an answer that comes after the window went, or
// after the user chose for themselves, is dropped.
void CTavlinDlg::TellUnfinishedUpdate(CfirmwareUpdateDlg& dialog) {
    records_->FindUnfinishedUpdate(
        device_.openedPort(), this,
        [window =
             QPointer<CfirmwareUpdateDlg>(&dialog)](const WindowRecords::UnfinishedOnPort& cut) {
            if (window == nullptr) {
                return;
            }
            const std::string english = UnfinishedUpdateText(cut.where, false);
            WriteLogSized(english.size() + 64, "%s\n", english.c_str());
            const std::string text =
                cut.difference.empty()
                    ? UnfinishedUpdateText(cut.where, true)
                    : FillText(Tr(cli::recordtext::kPackageChanged), {cut.difference});
            if (!window->OfferUnfinishedUpdate(
                    text, cut.difference.empty() ? cut.where.package : std::string())) {
                return;
            }
            if (!cut.difference.empty()) {
                WriteLogSized(cut.difference.size() + 96,
                              "Update FW: the package of the unfinished update changed since: %s\n",
                              cut.difference.c_str());
            } else {
                WriteLogSized(cut.where.package.size() + cut.runUuid.size() + 96,
                              "Update FW: offering the package of the unfinished update of run "
                              "%s: \"%s\"\n",
                              cut.runUuid.c_str(), cut.where.package.c_str());
            }
        });
}

}  // namespace tavlin
