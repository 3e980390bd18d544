#pragma once
// Captions and control texts of the program's windows, in the program's own language (the
// translation files map them like the string table). Texts that are not translated - output
// pane lines, log lines - are not listed here.

namespace tavlin::ui {

inline constexpr const char* kMainCaption = "Tavlin 0.98";
inline constexpr const char* kStaticPlaceholder = "静态";
inline constexpr const char* kLeveling = "调平";
inline constexpr const char* kCalibration = "标定";
inline constexpr const char* kUpdateFirmware = "更新固件";
inline constexpr const char* kExit = "退出";
inline constexpr const char* kModeToggle = "标定模式";
inline constexpr const char* kSwitchLabel = "Switch: ";
inline constexpr const char* kFpgaLabel = "FPGA 下载:";
inline constexpr const char* kBrowse = "...";
inline constexpr const char* kDownload = "download";
inline constexpr const char* kScriptLabel = "SCRIPT:";
inline constexpr const char* kRunScript = "runscript";
inline constexpr const char* kStepDebug = "Step Debug";
inline constexpr const char* kRegAddr = "Reg Addr(HEX)";
inline constexpr const char* kValue = "Value";
inline constexpr const char* kSensor = "Sensor";
inline constexpr const char* kSlave = "Slave";
inline constexpr const char* kWrite = "Write";
inline constexpr const char* kRead = "Read";
inline constexpr const char* kClientAdjust = "client adjust";
inline constexpr const char* kClientCalibration = "client calibration";
inline constexpr const char* kFwVersion = "FW版本";
inline constexpr const char* kClear = "clear";
inline constexpr const char* kDownloadFrame = "下载";
inline constexpr const char* kScriptFrame = "脚本";
inline constexpr const char* kPreview = "Preview";
inline constexpr const char* kAboutCaption = "关于 Tavlin";
inline constexpr const char* kAboutText = "Tavlin，1.0 版";
inline constexpr const char* kOk = "确定";
inline constexpr const char* kCancel = "取消";
inline constexpr const char* kFpgaFilter = "ini Files(*.bin)|*.bin|all Files(*.*)|*.*||";
inline constexpr const char* kScriptFilter = "ini Files(*.ini)|*.ini|all Files(*.*)|*.*||";

// Every text above, for the translation completeness check.
inline constexpr const char* kAllTexts[] = {kMainCaption,    kStaticPlaceholder,
                                            kLeveling,       kCalibration,
                                            kUpdateFirmware, kExit,
                                            kModeToggle,     kSwitchLabel,
                                            kFpgaLabel,      kBrowse,
                                            kDownload,       kScriptLabel,
                                            kRunScript,      kStepDebug,
                                            kRegAddr,        kValue,
                                            kSensor,         kSlave,
                                            kWrite,          kRead,
                                            kClientAdjust,   kClientCalibration,
                                            kFwVersion,      kClear,
                                            kDownloadFrame,  kScriptFrame,
                                            kPreview,        kAboutCaption,
                                            kAboutText,      kOk,
                                            kCancel,         kFpgaFilter,
                                            kScriptFilter};

}  // namespace tavlin::ui
