#pragma once
// Texts of the window program's command line (--help and its errors), in the program's own
// language like every other text; the translation files map them.

namespace tavlin::options {

inline constexpr const char* kUsage = "用法: %s [选项]\n";
inline constexpr const char* kOptionsHeading = "选项:\n";
inline constexpr const char* kHelp = "显示此帮助并退出";
inline constexpr const char* kVersion = "显示版本号并退出";
inline constexpr const char* kSimulate = "使用内置的模拟设备代替 USB 设备";
inline constexpr const char* kPlan = "计划";
inline constexpr const char* kSimFaults = "模拟设备的故障计划（仅与 --simulate 一起使用）";
inline constexpr const char* kCount = "数量";
inline constexpr const char* kSimDevices =
    "模拟多台设备，端口为 sim-1 到 sim-N（仅与 --simulate 一起使用）";
inline constexpr const char* kPort = "端口";
inline constexpr const char* kDevice = "只使用该 USB 端口上的设备（端口见 tavlin-cli list）";
inline constexpr const char* kEngineering = "显示工程控制台";
inline constexpr const char* kFolder = "文件夹";
inline constexpr const char* kLogDir = "日志文件所在的文件夹（默认为当前目录；不存在时自动创建）";
inline constexpr const char* kFile = "文件";
inline constexpr const char* kPace = "节奏";
inline constexpr const char* kRecord = "把与设备之间的每个报告和设备的插拔记录到文件";
inline constexpr const char* kReplay = "用记录的会话代替设备";
inline constexpr const char* kReplayPace = "recorded：保持记录的时间；immediate（默认）：立即应答";
inline constexpr const char* kCheckCalibration = "打开标定检查，检查之前标定过的设备";
inline constexpr const char* kMm = "毫米";
inline constexpr const char* kCheckTolerance = "标定检查的允许误差，单位毫米（默认 2.0）";
inline constexpr const char* kBadTolerance =
    "选项 --check-tolerance 需要一个大于 0 且不超过 50 的毫米数: %s\n";
inline constexpr const char* kUnknownOption = "未知选项: %s\n";
inline constexpr const char* kMissingValue = "选项 %s 需要一个值\n";
inline constexpr const char* kTakesNoValue = "选项 %s 不接受值\n";
inline constexpr const char* kUnexpectedArgument = "多余的参数: %s\n";
inline constexpr const char* kSeeHelp = "可用的选项请见 --help。\n";

// Every text above, for the translation completeness check.
inline constexpr const char* kAllTexts[] = {kUsage,        kOptionsHeading, kHelp,
                                            kVersion,      kSimulate,       kPlan,
                                            kSimFaults,    kEngineering,    kUnknownOption,
                                            kMissingValue, kTakesNoValue,   kUnexpectedArgument,
                                            kSeeHelp,      kFolder,         kLogDir,
                                            kFile,         kPace,           kRecord,
                                            kReplay,       kReplayPace,     kCheckCalibration,
                                            kMm,           kCheckTolerance, kBadTolerance,
                                            kCount,        kSimDevices,     kPort,
                                            kDevice};

}  // namespace tavlin::options
