// The main window's leveling launchers: 1022 opens the production leveling window after the
// tools' preamble, 1024 the client leveling window (engineering builds of the window only).
#include <QPushButton>

#include "app/CTavlinDlg.h"
#include "base/StringTable.h"
#include "device/DeviceDetector.h"
#include "leveling/CsensorsetclientDlg.h"
#include "leveling/CsensorsetmpDlg.h"
#include "leveling/LevelingControlIds.h"
#include "leveling/LevelingLaunch.h"
#include "ui/ControlLookup.h"
#include "ui/UiTexts.h"
#ifdef TAVLIN_RECORDS
#include "records/RecordContent.h"
#endif

namespace tavlin {

void CTavlinDlg::BuildLevelingButtons() {
    auto* leveling = new QPushButton(QString::fromStdString(Tr(ui::kLeveling)), this);
    SetControlId(leveling, leveling::kLevelingButton);
    leveling->resize(110, 32);
    connect(leveling, &QPushButton::clicked, this, &CTavlinDlg::OnLeveling);

    auto* client = new QPushButton(QString::fromStdString(Tr(ui::kClientAdjust)), this);
    SetControlId(client, leveling::kClientAdjustButton);
    client->resize(110, 32);
    client->setVisible(options_.engineering);
    connect(client, &QPushButton::clicked, this, &CTavlinDlg::OnClientAdjust);
}

void CTavlinDlg::OnLeveling() {
    if (!PrepareLevelingLaunch(state_, *bridge_, *modeControl_).ok()) {
        return;
    }
    // One new window per press; it deletes itself when it closes. Its session is a run of its
    // own, kept with the values the leveling ended with once the window is left.
    auto run = BeginRecord("level", {});
    auto* dialog = new CsensorsetmpDlg(state_, *bridge_, this);
    dialog->SetEndHook([this, run](const CsensorsetmpDlg::End& end) {
        CompleteRecord(
            run, end.result,
            [end](RunRecord& record) {
#ifdef TAVLIN_RECORDS
                if (!end.searched) {
                    return;  // the search never ended: no values to keep
                }
                for (const auto& [name, sensor] :
                     {std::pair{"master", end.sensors[0]}, {"slave", end.sensors[1]}}) {
                    AddSensor(
                        record, name,
                        {sensor.startLine, sensor.startColumn, sensor.endColumn, sensor.exposure});
                }
#else
                (void)end;
                (void)record;
#endif
            },
            [] {});
    });
    dialog->showMaximized();
}

void CTavlinDlg::OnClientAdjust() {
    if (state_.g_bDevExist == 0) {
        bridge_->SetStatusText(NoDeviceText(state_));
        return;
    }
    auto* dialog = new CsensorsetclientDlg(this);
    dialog->showMaximized();
}

}  // namespace tavlin
