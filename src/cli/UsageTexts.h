#pragma once
// The CLI's --help and its usage errors, in the program's own language; the translation files
// map them like the string table.

namespace tavlin::cli::usage {

// The word before the command line's forms, which are the same in every language.
inline constexpr const char* kUsageHeading = "用法:\n";
// What follows the forms: the commands, then their own options.
inline constexpr const char* kUsage =
    "以与 Tavlin 窗口相同的工作线程、命令线程、设备检测和日志（当前目录下的\n"
    "Tavlin_log.txt）执行一项设备操作。\n"
    "\n"
    "命令:\n"
    "  list                     列出连接的设备，每台一行：USB 端口、产品 ID、应用固件\n"
    "                           或更新环境、系统路径（没有设备：退出状态 3）\n"
    "  detect                   检测设备，打印状态文字\n"
    "  mode work                把设备切换到工作模式\n"
    "  mode calibration         把设备切换到标定模式（然后像窗口的切换按钮一样显示\n"
    "                           镜像版本）\n"
    "  versions                 读取并打印两个传感器的镜像版本\n"
    "  read [--i2c] ADDR        读一个寄存器；ADDR 的读法与 Step Debug 面板相同\n"
    "                           （0x 前缀为十六进制，否则为十进制；第 24-25 位选择\n"
    "                           寄存器空间，第 28 位选择 Slave 传感器）\n"
    "  write [--i2c] ADDR VALUE 写一个寄存器（VALUE 的低字节）\n"
    "  script FILE              执行寄存器脚本\n"
    "  fpga FILE                下载 FPGA 代码（在终端上显示进度条）\n"
    "  update PACKAGE [--replug-timeout SECONDS] [--verify]\n"
    "                           像窗口的固件工具一样更新固件包文件列出的固件镜像：\n"
    "                           设备重启进入更新环境（最多等待 SECONDS 秒，默认 20），\n"
    "                           写入镜像，再让设备返回；--verify 随后把设备报告的\n"
    "                           版本与固件包比较\n"
    "  level [--frames N] [--exposure] [--png DIR]\n"
    "                           调平光学模组：搜索，N 个预览周期（默认 1），有\n"
    "                           --exposure 时调节曝光（然后以 OK 离开，模式 0xEE；\n"
    "                           否则以 Cancel 离开，工作模式），两张图片保存为\n"
    "                           DIR/master.png 和 DIR/slave.png（先创建 DIR）；\n"
    "                           每行状态以其传感器的名称开头\n"
    "  layout WxH               打印 W x H 屏幕的十五个标定点，每个一行：编号、x、y、\n"
    "                           目标代码（不需要设备）\n"
    "  calibrate [--screen WxH] [--target-limit SECONDS]\n"
    "                           为 W x H 屏幕（默认 1920x1080）进行触摸标定：打印提示\n"
    "                           和十字准星移到的每个标定点，以及保存的百分比，每个值\n"
    "                           一次（在终端上在同一行刷新）；完成后退出状态 0；某个\n"
    "                           标定点 SECONDS 秒（默认 30）内没有有效采样即结束\n"
    "                           （退出状态 1），设备断开时也结束，即使它又回来了\n"
    "  results [--last N] [--port PORT] [--since YYYY-MM-DD]\n"
    "                           列出运行记录数据库中最近的运行（默认 20 次），每次一行\n"
    "  results export [--csv] FILE\n"
    "                           把运行记录导出为 JSON 文件（--csv：每个测量值一行的 CSV）\n"
    "\n"
    "--i2c 发送传感器（I2C）请求而不是 FPGA 请求，与 Sensor 选择框相同。\n";
// After the commands: the package commands, which need no device.
inline constexpr const char* kUsagePackage =
    "\n"
    "固件包（不需要设备）:\n"
    "  package manifest PACKAGE 写入 PACKAGE.sha256：固件包文件及其列出的镜像的\n"
    "                           SHA-256（供 minisign -Sm PACKAGE.sha256 签名）\n"
    "  package verify PACKAGE   检查固件包的签名和哈希，打印签名密钥和可信注释\n"
    "                           （失败：退出状态 1）\n";
// After the package commands: finishing an update that was cut off.
inline constexpr const char* kUsageResume =
    "\n"
    "中断的更新:\n"
    "  update --resume [--replug-timeout SECONDS] [--verify]\n"
    "                           用运行记录中该端口上次未完成的更新所用的固件包重新完整\n"
    "                           更新设备（先检查固件包文件的哈希和签名未变）\n";
inline constexpr const char* kResumeTakesNoPackage =
    "update --resume 不接受固件包文件：它使用记录中的固件包";
inline constexpr const char* kPackageArguments =
    "'package' 需要 manifest 或 verify 以及一个固件包文件";
// After the options' paragraphs (see station/OptionTable.cpp).
inline constexpr const char* kUsageEnd =
    "选项的值不能为空。\n"
    "\n"
    "退出状态: 0 成功，1 操作失败，2 用法错误，3 没有设备，\n";
// The usage's last line on Linux and on Windows: what exit status 4 means there.
inline constexpr const char* kExitNoAccess =
    "4 设备存在但当前用户无权打开（请安装软件包的 udev 规则，然后重新插拔设备）\n";
inline constexpr const char* kExitNoAccessWindows =
    "4 设备存在但无法打开（请关闭正在使用它的其他程序，或申请打开它的权限）\n";

// A usage error, then where to look.
inline constexpr const char* kSeeHelp = "%s（见 --help）";
inline constexpr const char* kNoCommand = "没有给出命令";
inline constexpr const char* kUnknownCommand = "未知命令 '%s'";
// A command's own argument given empty (script "", write 0x10 "").
inline constexpr const char* kEmptyArgument = "'%s' 的参数为空";
inline constexpr const char* kTakesNoArgument = "'%s' 不接受参数";
inline constexpr const char* kTakesOneArgument = "'%s' 需要 1 个参数";
inline constexpr const char* kTakesArguments = "'%s' 需要 %d 个参数";
inline constexpr const char* kModeWord = "mode 只能是 'work' 或 'calibration'，而不是 '%s'";
inline constexpr const char* kNotAnAddress = "'%s' 不是寄存器地址";
inline constexpr const char* kReplugTimeout = "--replug-timeout 只接受 1 到 3600 的秒数";
inline constexpr const char* kUpdateArgument = "'update' 不接受参数 '%s'";
inline constexpr const char* kUpdateNeedsPackage = "'update' 需要一个固件包文件";
inline constexpr const char* kFrames = "--frames 只接受从 1 开始的周期数，而不是 '%s'";
inline constexpr const char* kLevelOption = "level：未知或不完整的选项 '%s'";
inline constexpr const char* kLayoutArgument = "'layout' 需要 1 个参数（WxH）";
inline constexpr const char* kCalibrateOptions =
    "'calibrate' 只接受 --screen WxH 和 --target-limit SECONDS";
inline constexpr const char* kSeconds = "'%s' 不是 1 到 3600 的秒数";
inline constexpr const char* kScreenSize = "'%s' 不是屏幕尺寸（例如 1920x1080）";

// Every text above, for the translation completeness check.
inline constexpr const char* kAllTexts[] = {kUsage,           kUsageEnd,
                                            kExitNoAccess,    kExitNoAccessWindows,
                                            kSeeHelp,         kNoCommand,
                                            kUnknownCommand,  kEmptyArgument,
                                            kTakesNoArgument, kTakesOneArgument,
                                            kTakesArguments,  kModeWord,
                                            kNotAnAddress,    kReplugTimeout,
                                            kUpdateArgument,  kUpdateNeedsPackage,
                                            kFrames,          kLevelOption,
                                            kLayoutArgument,  kCalibrateOptions,
                                            kSeconds,         kScreenSize,
                                            kUsagePackage,    kPackageArguments,
                                            kUsageResume,     kResumeTakesNoPackage};

}  // namespace tavlin::cli::usage
