// The engineering console of the main window: FPGA download, scripts, Step Debug and the output
// pane. The controls always exist (the refresh after every request binds them); the panel is
// shown only with --engineering.
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/CTavlinDlg.h"
#include "base/ControlIds.h"
#include "base/StringTable.h"
#include "ui/ControlLookup.h"
#include "ui/UiTexts.h"

namespace tavlin {
namespace {

// The output pane keeps the last lines only: the tool runs all day on a production line.
constexpr int kOutputPaneMaxLines = 20000;

QString Text(const char* builtIn) {
    return QString::fromStdString(Tr(builtIn));
}

template <typename T>
T* Make(int id, QWidget* parent) {
    auto* w = new T(parent);
    SetControlId(w, id);
    return w;
}

QPushButton* Button(int id, const char* caption, QWidget* parent) {
    auto* b = Make<QPushButton>(id, parent);
    b->setText(Text(caption));
    return b;
}

// A framed row: label, path edit, "..." and an action button (FPGA download, script).
struct FileRowIds {
    int frame;
    const char* frameTitle;
    int label;
    const char* labelText;
    int edit;
    int browse;
    int action;
    const char* actionCaption;
};
struct FileRow {
    QPushButton* browse;
    QPushButton* action;
};

FileRow AddFileRow(QVBoxLayout* column, const FileRowIds& ids) {
    auto* frame = Make<QGroupBox>(ids.frame, column->parentWidget());
    frame->setTitle(Text(ids.frameTitle));
    auto* row = new QHBoxLayout(frame);
    auto* label = Make<QLabel>(ids.label, frame);
    label->setText(Text(ids.labelText));
    const FileRow out{Button(ids.browse, ui::kBrowse, frame),
                      Button(ids.action, ids.actionCaption, frame)};
    row->addWidget(label);
    row->addWidget(Make<QLineEdit>(ids.edit, frame), 1);
    row->addWidget(out.browse);
    row->addWidget(out.action);
    column->addWidget(frame);
    return out;
}

}  // namespace

void CTavlinDlg::BuildEngineeringControls() {
    engineeringPanel_ = new QWidget(this);
    auto* column = new QVBoxLayout(engineeringPanel_);

    const FileRow fpga = AddFileRow(
        column, {control::kDownloadFrame, ui::kDownloadFrame, control::kFpgaLabel, ui::kFpgaLabel,
                 control::kFpgaPath, control::kFpgaBrowse, control::kFpgaDownload, ui::kDownload});
    const FileRow script =
        AddFileRow(column, {control::kScriptFrame, ui::kScriptFrame, control::kScriptLabel,
                            ui::kScriptLabel, control::kScriptPath, control::kScriptBrowse,
                            control::kScriptRun, ui::kRunScript});

    auto* step = Make<QGroupBox>(control::kStepDebugBox, engineeringPanel_);
    step->setTitle(Text(ui::kStepDebug));
    auto* grid = new QGridLayout(step);
    auto* addrLabel = Make<QLabel>(control::kRegAddressLabel, step);
    addrLabel->setText(Text(ui::kRegAddr));
    auto* addr = Make<QLineEdit>(control::kRegAddress, step);
    auto* valueLabel = Make<QLabel>(control::kRegValueLabel, step);
    valueLabel->setText(Text(ui::kValue));
    auto* value = Make<QLineEdit>(control::kRegValue, step);
    auto* sensor = Make<QCheckBox>(control::kSensorBox, step);
    sensor->setText(Text(ui::kSensor));
    auto* slave = Make<QCheckBox>(control::kSlaveBox, step);
    slave->setText(Text(ui::kSlave));
    auto* write = Button(control::kRegWrite, ui::kWrite, step);
    auto* read = Button(control::kRegRead, ui::kRead, step);
    grid->addWidget(addrLabel, 0, 0);
    grid->addWidget(addr, 0, 1);
    grid->addWidget(sensor, 0, 2);
    grid->addWidget(write, 0, 3);
    grid->addWidget(valueLabel, 1, 0);
    grid->addWidget(value, 1, 1);
    grid->addWidget(slave, 1, 2);
    grid->addWidget(read, 1, 3);
    column->addWidget(step);

    output_ = Make<QPlainTextEdit>(control::kOutputPane, engineeringPanel_);
    output_->setReadOnly(true);
    output_->setMaximumBlockCount(kOutputPaneMaxLines);
    output_->setLineWrapMode(QPlainTextEdit::NoWrap);
    column->addWidget(output_, 1);

    auto* bottom = new QHBoxLayout;
    auto* clear = Button(control::kClear, ui::kClear, engineeringPanel_);
    auto* fwVersion = Button(control::kFwVersion, ui::kFwVersion, engineeringPanel_);
    auto* resolution = Make<QComboBox>(control::kResolution, engineeringPanel_);
    resolution->addItems({"640x16", "640x8", "640x3", "640x1"});
    resolution->hide();  // nothing reads it; kept for the refresh bindings
    auto* startLine = Make<QLineEdit>(control::kStartLine, engineeringPanel_);
    startLine->hide();
    bottom->addWidget(clear);
    bottom->addWidget(fwVersion);
    bottom->addStretch(1);
    column->addLayout(bottom);

    connect(fpga.browse, &QPushButton::clicked, this, &CTavlinDlg::OnChooseFpgaFile);
    connect(fpga.action, &QPushButton::clicked, this, &CTavlinDlg::OnDownloadFpga);
    connect(script.browse, &QPushButton::clicked, this, &CTavlinDlg::OnChooseScript);
    connect(script.action, &QPushButton::clicked, this, &CTavlinDlg::OnRunScript);
    connect(write, &QPushButton::clicked, this, &CTavlinDlg::OnRegisterWrite);
    connect(read, &QPushButton::clicked, this, &CTavlinDlg::OnRegisterRead);
    connect(slave, &QCheckBox::clicked, this, &CTavlinDlg::OnSlaveClicked);
    connect(clear, &QPushButton::clicked, this, &CTavlinDlg::OnClear);
    connect(fwVersion, &QPushButton::clicked, this, &CTavlinDlg::OnVersionButton);

    engineeringPanel_->setVisible(options_.engineering);
}

}  // namespace tavlin
