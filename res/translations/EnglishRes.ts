<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>Tavlin</name>
    <message>
        <source>关于 Tavlin(&amp;A)...</source>
        <translation>&amp;About Tavlin...</translation>
    </message>
    <message>
        <source>正在调节曝光参数，请稍候……
</source>
        <translation>Adjusting the exposure parameters, please wait...
</translation>
    </message>
    <message>
        <source>设备检测完成。
</source>
        <translation>Device detection complete.
</translation>
    </message>
    <message>
        <source>未检测到相应设备，请确认连接情况。
</source>
        <translation>No matching device was detected. Please check the connection.
</translation>
    </message>
    <message>
        <source>正在检测设备，请稍候...
</source>
        <translation>Detecting the device, please wait...
</translation>
    </message>
    <message>
        <source>曝光调节结束，当前光学参数为:%d，%d，%d;

0x%02x，0x%02x。
</source>
        <translation>Exposure adjustment finished. Current optical parameters: %d, %d, %d;

0x%02x, 0x%02x.
</translation>
    </message>
    <message>
        <source>正在搜索最佳起始行、起止列，请稍候.....
</source>
        <translation>Searching for the best start line and start and end columns, please wait...
</translation>
    </message>
    <message>
        <source>设备已拔出,请点击"Esc"退出调平.
</source>
        <translation>The device has been unplugged. Press "Esc" to exit leveling.
</translation>
    </message>
    <message>
        <source>标定模式</source>
        <translation>Calibration mode</translation>
    </message>
    <message>
        <source>工作模式</source>
        <translation>Work mode</translation>
    </message>
    <message>
        <source>确定所用图像行成功！当前光学参数为:%d，%d，%d

下面请进行曝光调节。
</source>
        <translation>The image lines to use were determined successfully! Current optical parameters: %d, %d, %d

Now please adjust the exposure.
</translation>
    </message>
    <message>
        <source>调平提示：
首先调节起始行使亮区处于显示区(自动)；
如果提示图像行选取失败，请调节光学模组水平及角度直至选取成功(调节后，按空格键显示图像)；
然后进行曝光调节；
最后确定退出。
</source>
        <translation>Leveling tips:
First adjust the start line so that the bright area lies in the display area (automatic);
if image line selection is reported as failed, adjust the level and angle of the optical module until the selection succeeds (after adjusting, press the Space bar to show the image);
then adjust the exposure;
finally confirm to exit.
</translation>
    </message>
    <message>
        <source>正在初始化设备，请稍候...</source>
        <translation>Initializing the device, please wait...</translation>
    </message>
    <message>
        <source>请先调节曝光参数！
</source>
        <translation>Please adjust the exposure parameters first!
</translation>
    </message>
    <message>
        <source>请先转化为标定模式，再进行标定！
</source>
        <translation>Please switch to calibration mode before calibrating!
</translation>
    </message>
    <message>
        <source>当前模式为工作模式！
</source>
        <translation>The current mode is work mode!
</translation>
    </message>
    <message>
        <source>当前模式为标定模式！
</source>
        <translation>The current mode is calibration mode!
</translation>
    </message>
    <message>
        <source>模式转换失败，请重新尝试！
</source>
        <translation>Mode switch failed, please try again!
</translation>
    </message>
    <message>
        <source>起始行查找失败，请先退出，重新调平!
</source>
        <translation>Start line search failed. Please exit and level again!
</translation>
    </message>
    <message>
        <source>起始行配置失败，请先退出，重新调平!
</source>
        <translation>Start line configuration failed. Please exit and level again!
</translation>
    </message>
    <message>
        <source>起止列查找失败，请先退出，重新调平!
</source>
        <translation>Start and end column search failed. Please exit and level again!
</translation>
    </message>
    <message>
        <source>拼行失败，请先退出，重新调平!
</source>
        <translation>Line stitching failed. Please exit and level again!
</translation>
    </message>
    <message>
        <source>获取 IMAGE Version 失败!
</source>
        <translation>Failed to read the IMAGE Version!
</translation>
    </message>
    <message>
        <source>曝光调节失败，请重新调节。
</source>
        <translation>Exposure adjustment failed. Please adjust again.
</translation>
    </message>
    <message>
        <source>环境准备完毕，请选择配置文件进行更新！
</source>
        <translation>The environment is ready. Please select a configuration file to update!
</translation>
    </message>
    <message>
        <source>环境配置失败，请退出重试!
</source>
        <translation>Environment setup failed. Please exit and try again!
</translation>
    </message>
    <message>
        <source>设备未准备好，请先更新固件.
</source>
        <translation>The device is not ready. Please update the firmware first.
</translation>
    </message>
    <message>
        <source>已找到设备，但当前用户无权打开它。请安装软件包中的 udev 规则，然后重新插拔设备。
</source>
        <translation>The device was found, but this user may not open it. Install the package's udev rules, then unplug and replug the device.
</translation>
    </message>
    <message>
        <source>Master: </source>
        <translation>Master: </translation>
    </message>
    <message>
        <source>Slave: </source>
        <translation>Slave: </translation>
    </message>
    <message>
        <source>无法写入日志文件夹 %s（%s）。
</source>
        <translation>Cannot write to the log folder %s (%s).
</translation>
    </message>
    <message>
        <source>日志文件 %s 不完整：部分记录未能写入。
</source>
        <translation>The log %s is incomplete: some entries could not be written.
</translation>
    </message>
    <message>
        <source>设备已被其他程序占用，或当前用户无权打开它。请关闭使用该设备的其他程序，或申请打开它的权限。
</source>
        <translation>The device is in use by another program, or this user may not open it. Close that program, or ask for the right to open the device.
</translation>
    </message>
    <message>
        <source>Tavlin 0.98</source>
        <translation>Tavlin 0.98</translation>
    </message>
    <message>
        <source>静态</source>
        <translation>Static</translation>
    </message>
    <message>
        <source>调平</source>
        <translation>Leveling</translation>
    </message>
    <message>
        <source>标定</source>
        <translation>Calibration</translation>
    </message>
    <message>
        <source>更新固件</source>
        <translation>Update firmware</translation>
    </message>
    <message>
        <source>退出</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>Switch: </source>
        <translation>Switch: </translation>
    </message>
    <message>
        <source>FPGA 下载:</source>
        <translation>FPGA download:</translation>
    </message>
    <message>
        <source>...</source>
        <translation>...</translation>
    </message>
    <message>
        <source>download</source>
        <translation>download</translation>
    </message>
    <message>
        <source>SCRIPT:</source>
        <translation>SCRIPT:</translation>
    </message>
    <message>
        <source>runscript</source>
        <translation>runscript</translation>
    </message>
    <message>
        <source>Step Debug</source>
        <translation>Step Debug</translation>
    </message>
    <message>
        <source>Reg Addr(HEX)</source>
        <translation>Reg Addr(HEX)</translation>
    </message>
    <message>
        <source>Value</source>
        <translation>Value</translation>
    </message>
    <message>
        <source>Sensor</source>
        <translation>Sensor</translation>
    </message>
    <message>
        <source>Slave</source>
        <translation>Slave</translation>
    </message>
    <message>
        <source>Write</source>
        <translation>Write</translation>
    </message>
    <message>
        <source>Read</source>
        <translation>Read</translation>
    </message>
    <message>
        <source>client adjust</source>
        <translation>client adjust</translation>
    </message>
    <message>
        <source>client calibration</source>
        <translation>client calibration</translation>
    </message>
    <message>
        <source>FW版本</source>
        <translation>FW version</translation>
    </message>
    <message>
        <source>clear</source>
        <translation>clear</translation>
    </message>
    <message>
        <source>下载</source>
        <translation>Download</translation>
    </message>
    <message>
        <source>脚本</source>
        <translation>Script</translation>
    </message>
    <message>
        <source>Preview</source>
        <translation>Preview</translation>
    </message>
    <message>
        <source>关于 Tavlin</source>
        <translation>About Tavlin</translation>
    </message>
    <message>
        <source>Tavlin，1.0 版</source>
        <translation>Tavlin, version 1.0</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>ini Files(*.bin)|*.bin|all Files(*.*)|*.*||</source>
        <translation>BIN files (*.bin)|*.bin|All files (*.*)|*.*||</translation>
    </message>
    <message>
        <source>ini Files(*.ini)|*.ini|all Files(*.*)|*.*||</source>
        <translation>INI files (*.ini)|*.ini|All files (*.*)|*.*||</translation>
    </message>
    <message>
        <source>用法: %s [选项]
</source>
        <translation>Usage: %s [options]
</translation>
    </message>
    <message>
        <source>选项:
</source>
        <translation>Options:
</translation>
    </message>
    <message>
        <source>显示此帮助并退出</source>
        <translation>show this help and exit</translation>
    </message>
    <message>
        <source>显示版本号并退出</source>
        <translation>show the version and exit</translation>
    </message>
    <message>
        <source>使用内置的模拟设备代替 USB 设备</source>
        <translation>use the built-in simulated device instead of the USB device</translation>
    </message>
    <message>
        <source>计划</source>
        <translation>plan</translation>
    </message>
    <message>
        <source>模拟设备的故障计划（仅与 --simulate 一起使用）</source>
        <translation>fault plan of the simulated device (only with --simulate)</translation>
    </message>
    <message>
        <source>数量</source>
        <translation>count</translation>
    </message>
    <message>
        <source>模拟多台设备，端口为 sim-1 到 sim-N（仅与 --simulate 一起使用）</source>
        <translation>simulate several devices, on ports sim-1 to sim-N (with --simulate only)</translation>
    </message>
    <message>
        <source>端口</source>
        <translation>port</translation>
    </message>
    <message>
        <source>只使用该 USB 端口上的设备（端口见 tavlin-cli list）</source>
        <translation>work on the device on that USB port only (see tavlin-cli list for the ports)</translation>
    </message>
    <message>
        <source>显示工程控制台</source>
        <translation>show the engineering console</translation>
    </message>
    <message>
        <source>文件夹</source>
        <translation>folder</translation>
    </message>
    <message>
        <source>日志文件所在的文件夹（默认为当前目录；不存在时自动创建）</source>
        <translation>folder for the log file (default: the current directory; created if missing)</translation>
    </message>
    <message>
        <source>文件</source>
        <translation>FILE</translation>
    </message>
    <message>
        <source>节奏</source>
        <translation>PACE</translation>
    </message>
    <message>
        <source>把与设备之间的每个报告和设备的插拔记录到文件</source>
        <translation>record every report to and from the device, and its arrivals and removals, to a file</translation>
    </message>
    <message>
        <source>用记录的会话代替设备</source>
        <translation>replay a recorded session in place of the device</translation>
    </message>
    <message>
        <source>recorded：保持记录的时间；immediate（默认）：立即应答</source>
        <translation>recorded: keep the recorded timing; immediate (the default): answer at once</translation>
    </message>
    <message>
        <source>打开标定检查，检查之前标定过的设备</source>
        <translation>open the calibration check, for a unit calibrated earlier</translation>
    </message>
    <message>
        <source>毫米</source>
        <translation>MM</translation>
    </message>
    <message>
        <source>标定检查的允许误差，单位毫米（默认 2.0）</source>
        <translation>the calibration check's tolerance in millimetres (default 2.0)</translation>
    </message>
    <message>
        <source>选项 --check-tolerance 需要一个大于 0 且不超过 50 的毫米数: %s
</source>
        <translation>option --check-tolerance needs a number of millimetres above 0 and at most 50: %s
</translation>
    </message>
    <message>
        <source>未知选项: %s
</source>
        <translation>unknown option: %s
</translation>
    </message>
    <message>
        <source>选项 %s 需要一个值
</source>
        <translation>option %s needs a value
</translation>
    </message>
    <message>
        <source>选项 %s 不接受值
</source>
        <translation>option %s takes no value
</translation>
    </message>
    <message>
        <source>多余的参数: %s
</source>
        <translation>unexpected argument: %s
</translation>
    </message>
    <message>
        <source>可用的选项请见 --help。
</source>
        <translation>See --help for the options.
</translation>
    </message>
    <message>
        <source>意外错误，运行已结束：%s</source>
        <translation>unexpected error, the run has ended: %s</translation>
    </message>
    <message>
        <source>标定已完成。按空格键检查标定，按Esc退出。
</source>
        <translation>Calibration completed. Press Space to check the calibration, Esc to exit.
</translation>
    </message>
    <message>
        <source>按空格键检查标定，按Esc退出。
</source>
        <translation>Press Space to check the calibration, Esc to exit.
</translation>
    </message>
    <message>
        <source>请用触摸笔点击十字星中心（检查点 %d/%d）。按Esc退出。
</source>
        <translation>Touch the centre of the cross with the stylus (check point %d/%d). Press Esc to exit.
</translation>
    </message>
    <message>
        <source>触摸位置离十字星太远，请重新点击（检查点 %d/%d）。
</source>
        <translation>The touch was too far from the cross. Please touch it again (check point %d/%d).
</translation>
    </message>
    <message>
        <source>屏幕太小，无法在距边缘至少10毫米处放置检查点。按Esc退出。
</source>
        <translation>The screen is too small to place check points at least 10 mm from its edges. Press Esc to exit.
</translation>
    </message>
    <message>
        <source>合格</source>
        <translation>PASS</translation>
    </message>
    <message>
        <source>不合格</source>
        <translation>FAIL</translation>
    </message>
    <message>
        <source>无法判定</source>
        <translation>NO VERDICT</translation>
    </message>
    <message>
        <source>允许误差 %.1f 毫米，误差向量放大10倍显示。</source>
        <translation>Tolerance %.1f mm; error vectors are drawn 10 times longer.</translation>
    </message>
    <message>
        <source>系统未提供屏幕的物理尺寸，误差只能以像素表示。</source>
        <translation>The system does not report the screen's physical size: errors are in pixels only.</translation>
    </message>
    <message>
        <source>检查点</source>
        <translation>Point</translation>
    </message>
    <message>
        <source>误差（像素）</source>
        <translation>Error (px)</translation>
    </message>
    <message>
        <source>误差（毫米）</source>
        <translation>Error (mm)</translation>
    </message>
    <message>
        <source>输入</source>
        <translation>Input</translation>
    </message>
    <message>
        <source>触摸</source>
        <translation>touch</translation>
    </message>
    <message>
        <source>鼠标</source>
        <translation>mouse</translation>
    </message>
    <message>
        <source>接受</source>
        <translation>Accept</translation>
    </message>
    <message>
        <source>重新检查</source>
        <translation>Check again</translation>
    </message>
    <message>
        <source>重新标定</source>
        <translation>Calibrate again</translation>
    </message>
    <message>
        <source>对话框</source>
        <translation>Dialog</translation>
    </message>
    <message>
        <source>标定初始化失败，请先退出 , 重新标定!
</source>
        <translation>Calibration initialisation failed. Please exit and calibrate again!
</translation>
    </message>
    <message>
        <source>请用触摸笔垂直点击十字星中心，进行标定。
</source>
        <translation>Touch the centre of the cross vertically with the stylus to calibrate.
</translation>
    </message>
    <message>
        <source>设备已拔出,请按Esc退出。</source>
        <translation>The device was unplugged. Press Esc to exit.</translation>
    </message>
    <message>
        <source>标定已完成，请退出。
</source>
        <translation>Calibration completed. Please exit.
</translation>
    </message>
    <message>
        <source>标定数据保存失败，请先退出，重新标定!
</source>
        <translation>Saving the calibration data failed. Please exit and calibrate again!
</translation>
    </message>
    <message>
        <source>设备初始化失败，请退出然后重新进入。
</source>
        <translation>Device initialisation failed. Please exit and open it again.
</translation>
    </message>
    <message>
        <source>正在初始化设备，请稍候......
</source>
        <translation>Initialising the device, please wait......
</translation>
    </message>
    <message>
        <source>正在保存标定数据，请勿触摸屏幕…… %d%%
</source>
        <translation>Saving the calibration data, do not touch the screen... %d%%
</translation>
    </message>
    <message>
        <source>应用固件</source>
        <translation>application</translation>
    </message>
    <message>
        <source>更新环境</source>
        <translation>update</translation>
    </message>
    <message>
        <source>连接了多台设备（端口：%s），请用 --device 指定其中一台</source>
        <translation>Several devices are attached (ports: %s); choose one with --device</translation>
    </message>
    <message>
        <source>--all 只能用于 versions、mode 和 update</source>
        <translation>--all works with versions, mode and update only</translation>
    </message>
    <message>
        <source>--all 不能与 --device、--record 或 --replay 一起使用</source>
        <translation>--all cannot be used with --device, --record or --replay</translation>
    </message>
    <message>
        <source>[%s] 成功</source>
        <translation>[%s] succeeded</translation>
    </message>
    <message>
        <source>[%s] 失败：%s</source>
        <translation>[%s] failed: %s</translation>
    </message>
    <message>
        <source>全部 %d 台设备成功</source>
        <translation>All %d devices succeeded</translation>
    </message>
    <message>
        <source>%d 台设备中有 %d 台失败</source>
        <translation>%d devices, %d failed</translation>
    </message>
    <message>
        <source>无法为端口 %s 启动进程：%s</source>
        <translation>Cannot start the run for port %s: %s</translation>
    </message>
    <message>
        <source>进程结束时没有给出结果（退出状态 %d）</source>
        <translation>The run ended without a result (exit status %d)</translation>
    </message>
    <message>
        <source>系统未给出该设备的 USB 端口，无法单独选择它</source>
        <translation>The system does not tell this device's USB port, so it cannot be chosen on its own</translation>
    </message>
    <message>
        <source>寄存器地址不是数字！
</source>
        <translation>The register address is not a number!
</translation>
    </message>
    <message>
        <source>寄存器值不是数字！
</source>
        <translation>The register value is not a number!
</translation>
    </message>
    <message>
        <source>预览未停止，下载未开始！
</source>
        <translation>The preview did not stop, download not started!
</translation>
    </message>
    <message>
        <source>另一个代码传输正在进行，请稍后再试！
</source>
        <translation>Another code transfer is running, try again later!
</translation>
    </message>
    <message>
        <source>正在准备环境，请稍候...
</source>
        <translation>Preparing the environment, please wait...
</translation>
    </message>
    <message>
        <source>请先打开配置文件(.ini格式)!
</source>
        <translation>Open the package file (.ini) first!
</translation>
    </message>
    <message>
        <source>正在更新，请稍候!
</source>
        <translation>Updating, please wait!
</translation>
    </message>
    <message>
        <source>配置文件不正确，请重新打开!
</source>
        <translation>The package file is not correct, open it again!
</translation>
    </message>
    <message>
        <source>没有需要更新的固件，请退出!
</source>
        <translation>There is no firmware to update, please exit!
</translation>
    </message>
    <message>
        <source>打开文件失败,请确认配置文件中的.bin文件在当前目录!
</source>
        <translation>Opening the file failed; make sure the .bin file named in the package file is in the current directory!
</translation>
    </message>
    <message>
        <source>配置文件更新失败,请退出重试!
</source>
        <translation>The update from the package file failed, exit and try again!
</translation>
    </message>
    <message>
        <source>开始烧写配置文件,请稍候...
</source>
        <translation>Writing the images has begun, please wait...
</translation>
    </message>
    <message>
        <source>固件更新成功，请退出!
</source>
        <translation>The firmware update succeeded, please exit!
</translation>
    </message>
    <message>
        <source>Write Tavlin Left HInfo %dKB Success!
</source>
        <translation>Write Tavlin Left HInfo %dKB Success!
</translation>
    </message>
    <message>
        <source>Write Tavlin Right HInfo %dKB Success!
</source>
        <translation>Write Tavlin Right HInfo %dKB Success!
</translation>
    </message>
    <message>
        <source>Write Tavlin Left LInfo %dKB Success!
</source>
        <translation>Write Tavlin Left LInfo %dKB Success!
</translation>
    </message>
    <message>
        <source>Write Tavlin Right RInfo %dKB Success!
</source>
        <translation>Write Tavlin Right RInfo %dKB Success!
</translation>
    </message>
    <message>
        <source>更新后的版本与配置文件不符: M--%08x, S--%08x
</source>
        <translation>The versions after the update differ from the package file: M--%08x, S--%08x
</translation>
    </message>
    <message>
        <source>切换模式</source>
        <translation>Switch mode</translation>
    </message>
    <message>
        <source>更新进度   ：</source>
        <translation>Progress   :</translation>
    </message>
    <message>
        <source>配置文件...</source>
        <translation>Package...</translation>
    </message>
    <message>
        <source>一键更新</source>
        <translation>Update</translation>
    </message>
    <message>
        <source>更新IMAGE:</source>
        <translation>Update IMAGE:</translation>
    </message>
    <message>
        <source>更新 FPGA:</source>
        <translation>Update FPGA:</translation>
    </message>
    <message>
        <source>更新FPGA</source>
        <translation>Update FPGA</translation>
    </message>
    <message>
        <source>读取IMAGE版本信息</source>
        <translation>Read IMAGE version info</translation>
    </message>
    <message>
        <source>更新IMAGE版本信息</source>
        <translation>Update IMAGE version info</translation>
    </message>
    <message>
        <source>读取FPGA版本信息</source>
        <translation>Read FPGA version info</translation>
    </message>
    <message>
        <source>更新FPGA版本信息</source>
        <translation>Update FPGA version info</translation>
    </message>
    <message>
        <source>起始行</source>
        <translation>Start line</translation>
    </message>
    <message>
        <source>角度</source>
        <translation>Angle</translation>
    </message>
    <message>
        <source>曝光</source>
        <translation>Exposure</translation>
    </message>
    <message>
        <source>&lt;</source>
        <translation>&lt;</translation>
    </message>
    <message>
        <source>&gt;</source>
        <translation>&gt;</translation>
    </message>
    <message>
        <source>曝光调节</source>
        <translation>Adjust exposure</translation>
    </message>
    <message>
        <source>行首向左</source>
        <translation>Line start left</translation>
    </message>
    <message>
        <source>行首向右</source>
        <translation>Line start right</translation>
    </message>
    <message>
        <source>行尾向左</source>
        <translation>Line end left</translation>
    </message>
    <message>
        <source>行尾向右</source>
        <translation>Line end right</translation>
    </message>
    <message>
        <source>保存信息</source>
        <translation>Save information</translation>
    </message>
    <message>
        <source>预览图像缓冲区不可用，无法打开调平窗口。
</source>
        <translation>The preview image buffers are not available; the leveling window cannot open.
</translation>
    </message>
    <message>
        <source>记录文件在第 %d 行用完</source>
        <translation>the recording ran out at line %d</translation>
    </message>
    <message>
        <source>无法读取记录文件 %s</source>
        <translation>cannot read the recording %s</translation>
    </message>
    <message>
        <source>记录文件 %s 不是普通文件</source>
        <translation>the recording %s is not a regular file</translation>
    </message>
    <message>
        <source>记录文件 %s 的格式或版本未知（只支持 tavlin-trace 第 1 版）</source>
        <translation>the recording %s has an unknown format or version (only tavlin-trace version 1 is supported)</translation>
    </message>
    <message>
        <source>记录文件 %s 的第 %d 行无法解析</source>
        <translation>the recording %s: line %d does not parse</translation>
    </message>
    <message>
        <source>无法创建记录文件 %s</source>
        <translation>cannot create the recording %s</translation>
    </message>
    <message>
        <source>回放未完成：记录中还有 %d 个输出报告未发送</source>
        <translation>the replay stopped short: %d output reports of the recording were never sent</translation>
    </message>
    <message>
        <source>记录文件 %s 不完整：记录在运行结束前中断</source>
        <translation>the recording %s is incomplete: it ended before the run did</translation>
    </message>
    <message>
        <source>--replay-pace 只接受 recorded 或 immediate</source>
        <translation>--replay-pace takes recorded or immediate</translation>
    </message>
    <message>
        <source>--replay 不能与 --simulate 或 --record 一起使用</source>
        <translation>--replay cannot be used with --simulate or --record</translation>
    </message>
</context>
</TS>
