#pragma once
// Why a device option (--simulate and the ones around it, --record, --replay) is refused before
// anything runs, in the program's own language; both front ends show them, and the translation
// files map them like the string table.

namespace tavlin::optiontext {

// An option whose value was given empty: a station script's variable that came out empty must
// not quietly turn into "no recording" or "the attached device".
inline constexpr const char* kEmptyValue = "选项 %s 的值为空";
// An option that takes a value stood last, with nothing after it.
inline constexpr const char* kNoValue = "选项 %s 缺少值";
inline constexpr const char* kSimFaultsNeedSimulate = "--sim-faults 需要 --simulate";
inline constexpr const char* kSimDevicesNeedSimulate = "--sim-devices 需要 --simulate";
// The largest number of simulated devices.
inline constexpr const char* kSimDevicesCount = "--sim-devices 只接受 1 到 %d 的设备数量";
inline constexpr const char* kPaceWithoutReplay = "--replay-pace 只能与 --replay 一起使用";
inline constexpr const char* kSimStateNeedSimulate = "--sim-state 需要 --simulate";
inline constexpr const char* kSimStateOneDevice = "--sim-state 只能用于一台模拟设备";
// A state file refused before anything runs; it is never written over.
inline constexpr const char* kSimStateForeign = "%s 不是模拟设备的状态文件，已保持原样";
inline constexpr const char* kSimStateDamaged = "模拟设备的状态文件 %s 已损坏（%s），已保持原样";
inline constexpr const char* kSimStateNewer =
    "模拟设备的状态文件 %s 是较新的程序写的（%s），已保持原样";
inline constexpr const char* kSimStateUnreadable = "无法读取模拟设备的状态文件 %s（%s）";
inline constexpr const char* kSimStateUnwritable = "无法写入模拟设备的状态文件 %s（%s）";

// Every text above, for the translation completeness check.
inline constexpr const char* kAllTexts[] = {
    kEmptyValue,        kNoValue,           kSimFaultsNeedSimulate, kSimDevicesNeedSimulate,
    kSimDevicesCount,   kPaceWithoutReplay, kSimStateNeedSimulate,  kSimStateOneDevice,
    kSimStateForeign,   kSimStateDamaged,   kSimStateNewer,         kSimStateUnreadable,
    kSimStateUnwritable};

}  // namespace tavlin::optiontext
