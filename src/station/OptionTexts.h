#pragma once
// Texts of both programs' command lines (their --help and the window's errors), in the program's
// own language like every other text; the translation files map them.

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
inline constexpr const char* kSimState =
    "把模拟设备的闪存（映像、版本、模式）保存在文件中，供以后的运行使用（仅与 --simulate "
    "一起使用）";
inline constexpr const char* kPort = "端口";
inline constexpr const char* kDevice = "只使用该 USB 端口上的设备（端口见 tavlin-cli list）";
inline constexpr const char* kEngineering = "显示工程控制台";
inline constexpr const char* kFolder = "文件夹";
inline constexpr const char* kLogDir = "日志文件所在的文件夹（默认为当前目录；不存在时自动创建）";
inline constexpr const char* kFile = "文件";
inline constexpr const char* kPace = "节奏";
inline constexpr const char* kRecord = "把与设备之间的每个报告和设备的插拔记录到文件";
inline constexpr const char* kReplay = "用记录的会话代替设备";
inline constexpr const char* kResults =
    "每次设备运行的记录写入该 SQLite 数据库（默认：日志文件夹中的 "
    "Tavlin_results.sqlite；none：不保存）";
inline constexpr const char* kResultsServer =
    "每次运行后把运行记录上传到产线的 PostgreSQL 服务器（libpq 连接字符串；未给出时读取 "
    "TAVLIN_RESULTS_SERVER）";
inline constexpr const char* kOperator = "把操作员写入运行记录";
inline constexpr const char* kLot = "把批次写入运行记录";
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

// The CLI's refusal of --log-dir or --device without its value.
inline constexpr const char* kLogDirTakesFolder = "--log-dir 需要一个文件夹";
inline constexpr const char* kDeviceTakesPort = "--device 需要一个 USB 端口（见 tavlin-cli list）";

// The CLI's --help: one paragraph per option, in the order of the option table.
inline constexpr const char* kCliSimulate = "--simulate 使用内置的模拟设备代替 USB 设备；\n";
inline constexpr const char* kCliSimDevices =
    "--sim-devices N 在端口 sim-1 到 sim-N 上模拟 N 台设备。\n";
inline constexpr const char* kCliSimState =
    "--sim-state FILE 把模拟设备的闪存（映像、版本、模式）保存在 FILE 中，供以后的运行使用；\n"
    "不是这种文件或已损坏的 FILE 会被拒绝（退出状态 2）并保持原样。\n";
inline constexpr const char* kCliDevice =
    "--device PORT 只使用该 USB 端口上的设备（见 list），并在该端口上跟随它的重启。\n"
    "没有此选项时，连接了多台设备的运行会拒绝选择（退出状态 2）。\n";
inline constexpr const char* kCliAll =
    "--all 同时在每台连接的设备上执行 versions、mode 或 update，每台设备一个进程，\n"
    "各自把日志写入自己的文件夹 DIR/PORT（DIR 来自 --log-dir，否则为当前文件夹）；\n"
    "只有每台设备都成功时退出状态才为 0。\n";
inline constexpr const char* kCliJson =
    "--json 在运行结束时在 stdout 上输出一行 JSON 对象（command、exit、result、\n"
    "interrupted、reason、messages、device、log、elapsed_ms、tool_version 以及命令\n"
    "的结果）；给人看的文字则输出到 stderr。\n";
inline constexpr const char* kCliLogDir =
    "--log-dir DIR 把日志写入 DIR（不存在时创建；无法写入的文件夹立即以退出状态 2\n"
    "结束运行）。\n";
inline constexpr const char* kCliRecord =
    "--record FILE 把与设备之间的每个报告以及设备的插拔写入 FILE（JSON 行，见 README）。\n";
inline constexpr const char* kCliReplay =
    "--replay FILE 用这样的记录代替设备回放；第一个与记录不同的输出报告使命令失败。\n"
    "--replay-pace recorded 保持记录的时间（默认：立即应答），只能与 --replay 一起使用。\n";
inline constexpr const char* kCliVersion = "--version 打印程序的版本并结束。\n";
inline constexpr const char* kCliResults =
    "--results FILE 把每次设备运行的记录写入 SQLite 数据库 FILE（默认：日志文件夹中的\n"
    "Tavlin_results.sqlite；none 表示不保存记录）；记录在输出结果之前写入。\n";
inline constexpr const char* kCliResultsServer =
    "--results-server URL 把运行记录上传到产线的 PostgreSQL 服务器（libpq 连接字符串或\n"
    "URI；未给出时读取环境变量 TAVLIN_RESULTS_SERVER；密码来自 libpq 的密码文件或\n"
    "PGPASSWORD）：每次设备运行输出结果后最多尝试几秒，不影响退出状态；\n"
    "results upload 发送所有等待上传的记录（全部发送：退出状态 0）。\n";
inline constexpr const char* kCliOperator = "--operator NAME 把操作员写入运行记录。\n";
inline constexpr const char* kCliLot = "--lot LOT 把批次写入运行记录。\n";
inline constexpr const char* kCliRequireRecord =
    "--require-record 运行记录未能保存时，运行以退出状态 1 结束。\n";
inline constexpr const char* kTrustedKey = "信任该公钥文件的密钥签名的固件包（可多次给出）";
inline constexpr const char* kRequireSigned = "拒绝没有签名的固件包";
inline constexpr const char* kCliTrustedKey =
    "--trusted-key FILE 信任 FILE（minisign 公钥文件）的密钥签名的固件包；可多次给出。\n"
    "密钥文件夹中的每个 *.pub 也受信任（见 README）。\n";
inline constexpr const char* kCliRequireSigned =
    "--require-signed 拒绝没有签名的固件包（密钥文件夹中有 require-signed 文件时也如此）。\n";
// The value of an option in general, where no better word names it.
inline constexpr const char* kValue = "值";

// Every text above, for the translation completeness check.
inline constexpr const char* kAllTexts[] = {kUsage,
                                            kOptionsHeading,
                                            kHelp,
                                            kVersion,
                                            kSimulate,
                                            kPlan,
                                            kSimFaults,
                                            kEngineering,
                                            kUnknownOption,
                                            kMissingValue,
                                            kTakesNoValue,
                                            kUnexpectedArgument,
                                            kSeeHelp,
                                            kFolder,
                                            kLogDir,
                                            kFile,
                                            kPace,
                                            kRecord,
                                            kReplay,
                                            kReplayPace,
                                            kCheckCalibration,
                                            kMm,
                                            kCheckTolerance,
                                            kBadTolerance,
                                            kCount,
                                            kSimDevices,
                                            kPort,
                                            kDevice,
                                            kCliSimulate,
                                            kCliSimDevices,
                                            kCliDevice,
                                            kCliAll,
                                            kCliJson,
                                            kCliLogDir,
                                            kCliRecord,
                                            kCliReplay,
                                            kCliVersion,
                                            kCliResults,
                                            kCliResultsServer,
                                            kCliOperator,
                                            kCliLot,
                                            kCliRequireRecord,
                                            kResults,
                                            kResultsServer,
                                            kOperator,
                                            kLot,
                                            kValue,
                                            kLogDirTakesFolder,
                                            kDeviceTakesPort,
                                            kSimState,
                                            kCliSimState,

                                            kTrustedKey,
                                            kRequireSigned,
                                            kCliTrustedKey,
                                            kCliRequireSigned};

}  // namespace tavlin::options
