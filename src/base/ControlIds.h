#pragma once

namespace tavlin::control {

// The main window's controls. The numbers are the controls' identities (the `controlId`
// property, the layout, the tests that press buttons by id): they never change.

// Engineering console: FPGA download row.
inline constexpr int kFpgaLabel = 1000;
inline constexpr int kFpgaBrowse = 1002;
inline constexpr int kFpgaPath = 1003;
inline constexpr int kFpgaDownload = 1004;
inline constexpr int kDownloadFrame = 1059;

// Engineering console: script row.
inline constexpr int kScriptLabel = 1001;
inline constexpr int kScriptPath = 1007;
inline constexpr int kScriptBrowse = 1008;
inline constexpr int kScriptRun = 1009;
inline constexpr int kScriptFrame = 1064;

// Engineering console: Step Debug panel.
inline constexpr int kStepDebugBox = 1010;
inline constexpr int kRegAddress = 1011;
inline constexpr int kRegValueLabel = 1012;
inline constexpr int kRegAddressLabel = 1013;
inline constexpr int kRegValue = 1014;
inline constexpr int kSensorBox = 1015;
inline constexpr int kRegWrite = 1016;
inline constexpr int kRegRead = 1017;
inline constexpr int kSlaveBox = 1063;

// Engineering console: output pane and the rest.
inline constexpr int kOutputPane = 1005;
inline constexpr int kClear = 1006;
inline constexpr int kResolution = 1020;
inline constexpr int kStartLine = 1021;
inline constexpr int kFwVersion = 1026;

// The visible window.
inline constexpr int kLeveling = 1022;
inline constexpr int kCalibration = 1023;
inline constexpr int kClientAdjust = 1024;       // shown with the engineering console
inline constexpr int kClientCalibration = 1025;  // shown with the engineering console
inline constexpr int kUpdateFirmware = 1027;
inline constexpr int kExit = 1028;
inline constexpr int kStatusLine = 1060;
inline constexpr int kVersionLine = 1061;
inline constexpr int kModeToggle = 1065;
inline constexpr int kModeLabel = 1066;
// The runs' records: the history window's button, and the warning of a record not kept.
inline constexpr int kHistory = 1110;
inline constexpr int kRecordWarning = 1111;

}  // namespace tavlin::control
