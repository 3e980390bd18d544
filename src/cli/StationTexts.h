#pragma once
// The texts of a station with several devices: the device list, the refusal to choose, and the
// run over all of them. The translation files map them like the string table.

namespace tavlin::cli {

// list: what the device runs.
inline constexpr const char* kModeApplication = "应用固件";
inline constexpr const char* kModeUpdate = "更新环境";
inline constexpr const char* kAllCommands = "--all 只能用于 versions、mode 和 update";
inline constexpr const char* kAllAlone = "--all 不能与 --device、--record 或 --replay 一起使用";
// --all: one device's outcome (its port, then its reason).
inline constexpr const char* kDeviceSucceeded = "[%s] 成功";
inline constexpr const char* kDeviceFailed = "[%s] 失败：%s";
inline constexpr const char* kAllSucceeded = "全部 %d 台设备成功";
inline constexpr const char* kSomeFailed = "%d 台设备中有 %d 台失败";
// The port, then the system's reason.
inline constexpr const char* kChildNotStarted = "无法为端口 %s 启动进程：%s";
inline constexpr const char* kChildNoReport = "进程结束时没有给出结果（退出状态 %d）";
// One of several devices whose USB port the system does not tell.
inline constexpr const char* kPortUnknown = "系统未给出该设备的 USB 端口，无法单独选择它";

// Every text above, for the translation completeness check.
inline constexpr const char* kAllTexts[] = {kModeApplication, kModeUpdate,      kAllCommands,
                                            kAllAlone,        kDeviceSucceeded, kDeviceFailed,
                                            kAllSucceeded,    kSomeFailed,      kChildNotStarted,
                                            kChildNoReport,   kPortUnknown};

}  // namespace tavlin::cli
