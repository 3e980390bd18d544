#pragma once
// Texts of the firmware update window and its worker, in the program's own language (the
// translation files map them as they map the string table). The caption, "退出", "确定", "..."
// and the file filters are the main window's (ui/UiTexts.h).

namespace tavlin::fw {

inline constexpr const char* kPreparing = "正在准备环境，请稍候...\n";
inline constexpr const char* kOpenPackageFirst = "请先打开配置文件(.ini格式)!\n";
inline constexpr const char* kUpdating = "正在更新，请稍候!\n";
inline constexpr const char* kPackageRefused = "配置文件不正确，请重新打开!\n";
inline constexpr const char* kNothingToUpdate = "没有需要更新的固件，请退出!\n";
inline constexpr const char* kImageOpenFailed =
    "打开文件失败,请确认配置文件中的.bin文件在当前目录!\n";
inline constexpr const char* kUpdateFailed = "配置文件更新失败,请退出重试!\n";
inline constexpr const char* kWritingStarted = "开始烧写配置文件,请稍候...\n";
inline constexpr const char* kUpdateSucceeded = "固件更新成功，请退出!\n";
inline constexpr const char* kWroteLeftHInfo = "Write Tavlin Left HInfo %dKB Success!\n";
inline constexpr const char* kWroteRightHInfo = "Write Tavlin Right HInfo %dKB Success!\n";
inline constexpr const char* kWroteLeftLInfo = "Write Tavlin Left LInfo %dKB Success!\n";
inline constexpr const char* kWroteRightRInfo = "Write Tavlin Right RInfo %dKB Success!\n";
inline constexpr const char* kVersionMismatch = "更新后的版本与配置文件不符: M--%08x, S--%08x\n";

// Controls of the window.
inline constexpr const char* kSwitchMode = "切换模式";
inline constexpr const char* kProgressLabel = "更新进度   ：";
inline constexpr const char* kPackageButton = "配置文件...";
inline constexpr const char* kOneKeyUpdate = "一键更新";
inline constexpr const char* kImageLabel = "更新IMAGE:";
inline constexpr const char* kFpgaLabel = "更新 FPGA:";
inline constexpr const char* kFpgaUpdate = "更新FPGA";
inline constexpr const char* kReadImageInfo = "读取IMAGE版本信息";
inline constexpr const char* kWriteImageInfo = "更新IMAGE版本信息";
inline constexpr const char* kReadFpgaInfo = "读取FPGA版本信息";
inline constexpr const char* kWriteFpgaInfo = "更新FPGA版本信息";

// Every text above, for the translation completeness check.
inline constexpr const char* kAllTexts[] = {
    kPreparing,       kOpenPackageFirst, kUpdating,        kPackageRefused,  kNothingToUpdate,
    kImageOpenFailed, kUpdateFailed,     kWritingStarted,  kUpdateSucceeded, kWroteLeftHInfo,
    kWroteRightHInfo, kWroteLeftLInfo,   kWroteRightRInfo, kVersionMismatch, kSwitchMode,
    kProgressLabel,   kPackageButton,    kOneKeyUpdate,    kImageLabel,      kFpgaLabel,
    kFpgaUpdate,      kReadImageInfo,    kWriteImageInfo,  kReadFpgaInfo,    kWriteFpgaInfo};

}  // namespace tavlin::fw
