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
        <source>运行记录</source>
        <translation>Run records</translation>
    </message>
    <message>
        <source>端口：</source>
        <translation>Port:</translation>
    </message>
    <message>
        <source>全部端口</source>
        <translation>All ports</translation>
    </message>
    <message>
        <source>时间</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>端口</source>
        <translation>port</translation>
    </message>
    <message>
        <source>命令</source>
        <translation>Command</translation>
    </message>
    <message>
        <source>结果</source>
        <translation>Outcome</translation>
    </message>
    <message>
        <source>退出状态</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>操作员</source>
        <translation>Operator</translation>
    </message>
    <message>
        <source>批次</source>
        <translation>Lot</translation>
    </message>
    <message>
        <source>运行后的版本</source>
        <translation>Versions after</translation>
    </message>
    <message>
        <source>无法读取运行记录数据库 %s：%s</source>
        <translation>cannot read the run records database %s: %s</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>日志文件 %s 不是普通文件</source>
        <translation>The log file %s is not a regular file</translation>
    </message>
    <message>
        <source>%s 不是普通文件</source>
        <translation>%s is not a regular file</translation>
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
        <source>系统未提供屏幕的物理尺寸，无法以毫米判定。请输入屏幕显示区域的宽和高（毫米，例如 527x296）后按回车；直接按回车则只以像素检查。按Esc退出。
</source>
        <translation>The system gives no physical size for this screen, so no verdict in millimetres is possible. Type the width and height of the screen's display area in millimetres (such as 527x296) and press Enter; press Enter alone to check in pixels only. Press Esc to leave.
</translation>
    </message>
    <message>
        <source>“%s”不是以毫米表示的屏幕尺寸。
</source>
        <translation>“%s” is not a screen size in millimetres.
</translation>
    </message>
    <message>
        <source>标定检查所用的屏幕尺寸，单位毫米（例如 527x296），优先于显示器报告的尺寸</source>
        <translation>the screen's size in millimetres for the calibration check (such as 527x296), taken before the monitor's</translation>
    </message>
    <message>
        <source>宽x高</source>
        <translation>WxH</translation>
    </message>
    <message>
        <source>选项 --screen-size 需要以毫米表示的宽和高，例如 527x296: %s
</source>
        <translation>option --screen-size needs a width and height in millimetres, such as 527x296: %s
</translation>
    </message>
    <message>
        <source>进程被 %s 终止</source>
        <translation>the process was ended by %s</translation>
    </message>
    <message>
        <source>进程报告成功，但以退出状态 %d 结束</source>
        <translation>the process reported success but ended with exit status %d</translation>
    </message>
    <message>
        <source>此版本的 tavlin-cli 不能保存图片（--png）</source>
        <translation>This build of tavlin-cli cannot save pictures (--png)</translation>
    </message>
    <message>
        <source>无法写入 %s：%s</source>
        <translation>Cannot write %s: %s</translation>
    </message>
    <message>
        <source>运行记录未能保存到 %s：%s</source>
        <translation>the run's record could not be kept in %s: %s</translation>
    </message>
    <message>
        <source>results：未知或不完整的选项 '%s'</source>
        <translation>results: unknown or incomplete option '%s'</translation>
    </message>
    <message>
        <source>--last 只接受从 1 开始的数量，而不是 '%s'</source>
        <translation>--last takes a count from 1, not '%s'</translation>
    </message>
    <message>
        <source>--since 需要日期（YYYY-MM-DD），而不是 '%s'</source>
        <translation>--since needs a date (YYYY-MM-DD), not '%s'</translation>
    </message>
    <message>
        <source>已导出 %d 条运行记录到 %s</source>
        <translation>exported %d run records to %s</translation>
    </message>
    <message>
        <source>无法写入 %s</source>
        <translation>cannot write %s</translation>
    </message>
    <message>
        <source>运行记录已关闭（--results none）</source>
        <translation>run records are off (--results none)</translation>
    </message>
    <message>
        <source>没有运行记录数据库 %s</source>
        <translation>there is no run record database %s</translation>
    </message>
    <message>
        <source>此版本不保存运行记录</source>
        <translation>this build keeps no run records</translation>
    </message>
    <message>
        <source>运行记录未能上传到 %s：%s（%d 条记录等待下次上传）</source>
        <translation>the run records could not be uploaded to %s: %s (%d records wait for the next upload)</translation>
    </message>
    <message>
        <source>已上传 %d 条运行记录到 %s</source>
        <translation>uploaded %d run records to %s</translation>
    </message>
    <message>
        <source>没有等待上传的运行记录</source>
        <translation>no run records are waiting for the upload</translation>
    </message>
    <message>
        <source>没有给出产线服务器（--results-server URL 或环境变量 TAVLIN_RESULTS_SERVER）</source>
        <translation>no line server given (--results-server URL or the environment variable TAVLIN_RESULTS_SERVER)</translation>
    </message>
    <message>
        <source>无法读取产线服务器的地址（libpq 连接字符串或 URI）</source>
        <translation>the line server's address cannot be read (a libpq connection string or URI)</translation>
    </message>
    <message>
        <source>此版本不上传运行记录</source>
        <translation>this build does not upload run records</translation>
    </message>
    <message>
        <source>继续该设备未完成的更新：%s</source>
        <translation>resuming this unit's unfinished update: %s</translation>
    </message>
    <message>
        <source>端口 %s 上的设备没有未完成的更新可继续</source>
        <translation>the unit on port %s has no unfinished update to resume</translation>
    </message>
    <message>
        <source>--resume 需要运行记录（不能与 --results none 一起使用）</source>
        <translation>--resume needs the run records (not with --results none)</translation>
    </message>
    <message>
        <source>请在 %s 中运行 update --resume：更新包的映像文件名相对于该文件夹</source>
        <translation>run update --resume in %s: the package names its images relative to that folder</translation>
    </message>
    <message>
        <source>更新包自上次更新以来已更改，不予继续：%s</source>
        <translation>the package changed since the last update, so it is not resumed: %s</translation>
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
        <source>用法:
</source>
        <translation>usage:
</translation>
    </message>
    <message>
        <source>以与 Tavlin 窗口相同的工作线程、命令线程、设备检测和日志（当前目录下的
Tavlin_log.txt）执行一项设备操作。

命令:
  list                     列出连接的设备，每台一行：USB 端口、产品 ID、应用固件
                           或更新环境、系统路径（没有设备：退出状态 3）
  detect                   检测设备，打印状态文字
  mode work                把设备切换到工作模式
  mode calibration         把设备切换到标定模式（然后像窗口的切换按钮一样显示
                           镜像版本）
  versions                 读取并打印两个传感器的镜像版本
  read [--i2c] ADDR        读一个寄存器；ADDR 的读法与 Step Debug 面板相同
                           （0x 前缀为十六进制，否则为十进制；第 24-25 位选择
                           寄存器空间，第 28 位选择 Slave 传感器）
  write [--i2c] ADDR VALUE 写一个寄存器（VALUE 的低字节）
  script FILE              执行寄存器脚本
  fpga FILE                下载 FPGA 代码（在终端上显示进度条）
  update PACKAGE [--replug-timeout SECONDS] [--verify]
                           像窗口的固件工具一样更新固件包文件列出的固件镜像：
                           设备重启进入更新环境（最多等待 SECONDS 秒，默认 20），
                           写入镜像，再让设备返回；--verify 随后把设备报告的
                           版本与固件包比较
  level [--frames N] [--exposure] [--png DIR]
                           调平光学模组：搜索，N 个预览周期（默认 1），有
                           --exposure 时调节曝光（然后以 OK 离开，模式 0xEE；
                           否则以 Cancel 离开，工作模式），两张图片保存为
                           DIR/master.png 和 DIR/slave.png（先创建 DIR）；
                           每行状态以其传感器的名称开头
  layout WxH               打印 W x H 屏幕的十五个标定点，每个一行：编号、x、y、
                           目标代码（不需要设备）
  calibrate [--screen WxH] [--target-limit SECONDS]
                           为 W x H 屏幕（默认 1920x1080）进行触摸标定：打印提示
                           和十字准星移到的每个标定点，以及保存的百分比，每个值
                           一次（在终端上在同一行刷新）；完成后退出状态 0；某个
                           标定点 SECONDS 秒（默认 30）内没有有效采样即结束
                           （退出状态 1），设备断开时也结束，即使它又回来了
  results [--last N] [--port PORT] [--since YYYY-MM-DD]
                           列出运行记录数据库中最近的运行（默认 20 次），每次一行
  results export [--csv] FILE
                           把运行记录导出为 JSON 文件（--csv：每个测量值一行的 CSV）

--i2c 发送传感器（I2C）请求而不是 FPGA 请求，与 Sensor 选择框相同。
</source>
        <translation>Runs one device operation with the same workers, command thread, presence and log
(Tavlin_log.txt in the current directory) as the Tavlin window.

commands:
  list                     list the attached devices, one line each: USB port,
                           product id, application firmware or update
                           environment, the system's path (exit 3: none)
  detect                   detect the device; prints the status text
  mode work                switch the device to work mode
  mode calibration         switch the device to calibration mode (then shows the
                           image versions, as the window's toggle does)
  versions                 read and print the image versions of both sensors
  read [--i2c] ADDR        read one register; ADDR as the Step Debug panel reads it
                           (0x prefix: hexadecimal, else decimal; bits 24-25 select
                           the register space, bit 28 the Slave sensor)
  write [--i2c] ADDR VALUE write one register (the low byte of VALUE)
  script FILE              run a register script
  fpga FILE                download FPGA code (progress bar on a terminal)
  update PACKAGE [--replug-timeout SECONDS] [--verify]
                           update the firmware images named by the package file,
                           as the window's firmware tool does: the device restarts
                           in its update environment (waited for up to SECONDS,
                           default 20), the images are written, the device is sent
                           back; --verify then compares the versions it reports
                           with the package
  level [--frames N] [--exposure] [--png DIR]
                           level the optical modules: search, N preview cycles
                           (default 1), the exposure with --exposure (then leave
                           with OK, mode 0xEE; else Cancel, work mode), and the
                           two pictures as DIR/master.png and DIR/slave.png
                           (DIR is made first); each status line starts with
                           its sensor's name
  layout WxH               print the fifteen calibration targets of a W x H screen,
                           one line each: number, x, y, target code (no device)
  calibrate [--screen WxH] [--target-limit SECONDS]
                           run a touch calibration for a W x H screen (default
                           1920x1080): prints the instructions and each target
                           as the crosshair moves to it, and the storing's
                           percentage once per value (one line redrawn in place
                           on a terminal); exit 0 once completed; a target without
                           a valid sample for SECONDS (default 30) ends it (exit 1),
                           as does a device that went away, even if it came back
  results [--last N] [--port PORT] [--since YYYY-MM-DD]
                           list the last runs of the run record database (20 by
                           default), one line each
  results export [--csv] FILE
                           export the run records as a JSON file (--csv: CSV, one
                           row per measurement)

--i2c posts the sensor (I2C) request instead of the FPGA one, as the Sensor box does.
</translation>
    </message>
    <message>
        <source>
固件包（不需要设备）:
  package manifest PACKAGE 写入 PACKAGE.sha256：固件包文件及其列出的镜像的
                           SHA-256（供 minisign -Sm PACKAGE.sha256 签名）
  package verify PACKAGE   检查固件包的签名和哈希，打印签名密钥和可信注释
                           （失败：退出状态 1）
</source>
        <translation>
Packages (no device needed):
  package manifest PACKAGE write PACKAGE.sha256: the SHA-256 of the package file and of
                           the images it names (to sign with minisign -Sm PACKAGE.sha256)
  package verify PACKAGE   check the package's signature and hashes, print the signing
                           key and the trusted comment (failure: exit status 1)
</translation>
    </message>
    <message>
        <source>
中断的更新:
  update --resume [--replug-timeout SECONDS] [--verify]
                           用运行记录中该端口上次未完成的更新所用的固件包重新完整
                           更新设备（先检查固件包文件的哈希和签名未变）
</source>
        <translation>
cut updates:
  update --resume [--replug-timeout SECONDS] [--verify]
                           update the unit again, whole, with the package of the
                           last update on its port that did not end, as the run
                           records keep it (its files' hashes and signature are
                           checked first)
</translation>
    </message>
    <message>
        <source>update --resume 不接受固件包文件：它使用记录中的固件包</source>
        <translation>update --resume takes no package file: it takes the recorded one</translation>
    </message>
    <message>
        <source>'package' 需要 manifest 或 verify 以及一个固件包文件</source>
        <translation>'package' needs manifest or verify and a package file</translation>
    </message>
    <message>
        <source>选项的值不能为空。

退出状态: 0 成功，1 操作失败，2 用法错误，3 没有设备，
</source>
        <translation>An option's value may not be empty.

exit status: 0 success, 1 the operation failed, 2 usage error, 3 no device,
</translation>
    </message>
    <message>
        <source>4 设备存在但当前用户无权打开（请安装软件包的 udev 规则，然后重新插拔设备）
</source>
        <translation>4 the device is there but this user may not open it (install the package's udev
rules, then re-plug the device)
</translation>
    </message>
    <message>
        <source>4 设备存在但无法打开（请关闭正在使用它的其他程序，或申请打开它的权限）
</source>
        <translation>4 the device is there but cannot be opened (close the other program that uses it,
or ask for the right to open it)
</translation>
    </message>
    <message>
        <source>%s（见 --help）</source>
        <translation>%s (see --help)</translation>
    </message>
    <message>
        <source>没有给出命令</source>
        <translation>no command given</translation>
    </message>
    <message>
        <source>未知命令 '%s'</source>
        <translation>unknown command '%s'</translation>
    </message>
    <message>
        <source>'%s' 的参数为空</source>
        <translation>'%s' was given an empty argument</translation>
    </message>
    <message>
        <source>'%s' 不接受参数</source>
        <translation>'%s' takes no arguments</translation>
    </message>
    <message>
        <source>'%s' 需要 1 个参数</source>
        <translation>'%s' takes 1 argument</translation>
    </message>
    <message>
        <source>'%s' 需要 %d 个参数</source>
        <translation>'%s' takes %d arguments</translation>
    </message>
    <message>
        <source>mode 只能是 'work' 或 'calibration'，而不是 '%s'</source>
        <translation>mode is 'work' or 'calibration', not '%s'</translation>
    </message>
    <message>
        <source>'%s' 不是寄存器地址</source>
        <translation>'%s' is not a register address</translation>
    </message>
    <message>
        <source>--replug-timeout 只接受 1 到 3600 的秒数</source>
        <translation>--replug-timeout takes a number of seconds from 1 to 3600</translation>
    </message>
    <message>
        <source>'update' 不接受参数 '%s'</source>
        <translation>unexpected argument '%s' to 'update'</translation>
    </message>
    <message>
        <source>'update' 需要一个固件包文件</source>
        <translation>'update' takes a package file</translation>
    </message>
    <message>
        <source>--frames 只接受从 1 开始的周期数，而不是 '%s'</source>
        <translation>--frames takes a number of cycles from 1, not '%s'</translation>
    </message>
    <message>
        <source>level：未知或不完整的选项 '%s'</source>
        <translation>level: unknown or incomplete option '%s'</translation>
    </message>
    <message>
        <source>'layout' 需要 1 个参数（WxH）</source>
        <translation>'layout' takes 1 argument (WxH)</translation>
    </message>
    <message>
        <source>'calibrate' 只接受 --screen WxH 和 --target-limit SECONDS</source>
        <translation>'calibrate' takes only --screen WxH and --target-limit SECONDS</translation>
    </message>
    <message>
        <source>'%s' 不是 1 到 3600 的秒数</source>
        <translation>'%s' is not a number of seconds from 1 to 3600</translation>
    </message>
    <message>
        <source>'%s' 不是屏幕尺寸（例如 1920x1080）</source>
        <translation>'%s' is not a screen size such as 1920x1080</translation>
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
        <source>脚本第 %d 行：未知命令 '%s'
</source>
        <translation>Script line %d: unknown command '%s'
</translation>
    </message>
    <message>
        <source>脚本第 %d 行：操作数 '%s' 不是数字
</source>
        <translation>Script line %d: operand '%s' is not a number
</translation>
    </message>
    <message>
        <source>脚本第 %d 行：操作数 '%s' 是负数
</source>
        <translation>Script line %d: operand '%s' is negative
</translation>
    </message>
    <message>
        <source>脚本未运行，没有向设备发送任何命令：请先改正以上各行。
</source>
        <translation>The script was not run and nothing was sent to the device: correct the lines above first.
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
        <source>固件包校验失败: %s
</source>
        <translation>The package failed its check: %s
</translation>
    </message>
    <message>
        <source>本工位只接受签名的固件包: %s
</source>
        <translation>This station takes signed packages only: %s
</translation>
    </message>
    <message>
        <source>警告: 固件包 %s 没有签名
</source>
        <translation>Warning: the package %s is not signed
</translation>
    </message>
    <message>
        <source>签名密钥 %s: %s</source>
        <translation>Signed by key %s: %s</translation>
    </message>
    <message>
        <source>未签名</source>
        <translation>unsigned</translation>
    </message>
    <message>
        <source>固件包校验通过: 签名密钥 %s, 可信注释: %s
</source>
        <translation>Package verified: signed by key %s, trusted comment: %s
</translation>
    </message>
    <message>
        <source>已写入 %s
</source>
        <translation>Wrote %s
</translation>
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
        <source>连接了多台设备（端口：%s），请用 --device 指定其中一台</source>
        <translation>Several devices are attached (ports: %s); choose one with --device</translation>
    </message>
    <message>
        <source>端口 %s 上没有设备（已连接的设备在端口：%s）</source>
        <translation>no device on port %s (attached devices are on ports %s)</translation>
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
        <source>把模拟设备的闪存（映像、版本、模式）保存在文件中，供以后的运行使用（仅与 --simulate 一起使用）</source>
        <translation>keep the simulated device's flash (images, versions, mode) in a file for later runs (with --simulate only)</translation>
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
        <source>每次设备运行的记录写入该 SQLite 数据库（默认：日志文件夹中的 Tavlin_results.sqlite；none：不保存）</source>
        <translation>keep each device run's record in this SQLite database (default: Tavlin_results.sqlite in the log folder; none: keep none)</translation>
    </message>
    <message>
        <source>每次运行后把运行记录上传到产线的 PostgreSQL 服务器（libpq 连接字符串；未给出时读取 TAVLIN_RESULTS_SERVER）</source>
        <translation>after each run, upload the run records to the line's PostgreSQL server (a libpq connection string; else TAVLIN_RESULTS_SERVER)</translation>
    </message>
    <message>
        <source>把操作员写入运行记录</source>
        <translation>put the operator into the run records</translation>
    </message>
    <message>
        <source>把批次写入运行记录</source>
        <translation>put the lot into the run records</translation>
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
        <source>--log-dir 需要一个文件夹</source>
        <translation>--log-dir takes a folder</translation>
    </message>
    <message>
        <source>--device 需要一个 USB 端口（见 tavlin-cli list）</source>
        <translation>--device takes a USB port (see tavlin-cli list)</translation>
    </message>
    <message>
        <source>--simulate 使用内置的模拟设备代替 USB 设备；
</source>
        <translation>--simulate uses the built-in simulated device instead of the USB device;
</translation>
    </message>
    <message>
        <source>--sim-devices N 在端口 sim-1 到 sim-N 上模拟 N 台设备。
</source>
        <translation>--sim-devices N simulates N devices on ports sim-1 to sim-N.
</translation>
    </message>
    <message>
        <source>--sim-state FILE 把模拟设备的闪存（映像、版本、模式）保存在 FILE 中，供以后的运行使用；
不是这种文件或已损坏的 FILE 会被拒绝（退出状态 2）并保持原样。
</source>
        <translation>--sim-state FILE keeps the simulated device's flash (images, versions, mode) in FILE for
later runs; a FILE that is no such file, or is damaged, is refused (exit 2) and left as it is.
</translation>
    </message>
    <message>
        <source>--device PORT 只使用该 USB 端口上的设备（见 list），并在该端口上跟随它的重启。
没有此选项时，连接了多台设备的运行会拒绝选择（退出状态 2）。
</source>
        <translation>--device PORT works on the device on that USB port only (see list), and follows it
through its restarts on that port. Without it, a run refuses to choose when
several devices are attached (exit 2).
</translation>
    </message>
    <message>
        <source>--all 同时在每台连接的设备上执行 versions、mode 或 update，每台设备一个进程，
各自把日志写入自己的文件夹 DIR/PORT（DIR 来自 --log-dir，否则为当前文件夹）；
只有每台设备都成功时退出状态才为 0。
</source>
        <translation>--all runs versions, mode or update on every attached device at once, one process
per device, each logging into its own folder DIR/PORT (DIR from --log-dir, else
the current folder); exit 0 only when every device succeeded.
</translation>
    </message>
    <message>
        <source>--json 在运行结束时在 stdout 上输出一行 JSON 对象（command、exit、result、
interrupted、reason、messages、device、log、elapsed_ms、tool_version 以及命令
的结果）；给人看的文字则输出到 stderr。
</source>
        <translation>--json ends the run with one JSON object on one line on stdout (command, exit,
result, interrupted, reason, messages, device, log, elapsed_ms, tool_version, and
what the command produced); the texts for people then go to stderr.
</translation>
    </message>
    <message>
        <source>--log-dir DIR 把日志写入 DIR（不存在时创建；无法写入的文件夹立即以退出状态 2
结束运行）。
</source>
        <translation>--log-dir DIR writes the log into DIR (created when missing; a folder that cannot
be written ends the run at once with exit status 2).
</translation>
    </message>
    <message>
        <source>--record FILE 把与设备之间的每个报告以及设备的插拔写入 FILE（JSON 行，见 README）。
</source>
        <translation>--record FILE writes every report to and from the device, and its arrivals and
removals, to FILE (JSON lines, see the README).
</translation>
    </message>
    <message>
        <source>--replay FILE 用这样的记录代替设备回放；第一个与记录不同的输出报告使命令失败。
--replay-pace recorded 保持记录的时间（默认：立即应答），只能与 --replay 一起使用。
</source>
        <translation>--replay FILE plays such a recording back in the device's place; the first output
report that differs from the recorded one fails the command. --replay-pace recorded
keeps the recorded timing (default: replies at once); it needs --replay.
</translation>
    </message>
    <message>
        <source>--version 打印程序的版本并结束。
</source>
        <translation>--version prints the program's version and ends.
</translation>
    </message>
    <message>
        <source>--results FILE 把每次设备运行的记录写入 SQLite 数据库 FILE（默认：日志文件夹中的
Tavlin_results.sqlite；none 表示不保存记录）；记录在输出结果之前写入。
</source>
        <translation>--results FILE keeps each device run's record in the SQLite database FILE (default:
Tavlin_results.sqlite in the log folder; none keeps no record); the record is
written before the run tells its result.
</translation>
    </message>
    <message>
        <source>--results-server URL 把运行记录上传到产线的 PostgreSQL 服务器（libpq 连接字符串或
URI；未给出时读取环境变量 TAVLIN_RESULTS_SERVER；密码来自 libpq 的密码文件或
PGPASSWORD）：每次设备运行输出结果后最多尝试几秒，不影响退出状态；
results upload 发送所有等待上传的记录（全部发送：退出状态 0）。
</source>
        <translation>--results-server URL uploads the run records to the line's PostgreSQL server (a libpq
connection string or URI; without it, the environment variable TAVLIN_RESULTS_SERVER;
the password comes from libpq's password file or PGPASSWORD): after each device run
has told its result, for a few seconds at most, never changing the exit status;
results upload sends every record waiting (exit status 0 when all went out).
</translation>
    </message>
    <message>
        <source>--operator NAME 把操作员写入运行记录。
</source>
        <translation>--operator NAME puts the operator into the run's record.
</translation>
    </message>
    <message>
        <source>--lot LOT 把批次写入运行记录。
</source>
        <translation>--lot LOT puts the lot into the run's record.
</translation>
    </message>
    <message>
        <source>--require-record 运行记录未能保存时，运行以退出状态 1 结束。
</source>
        <translation>--require-record ends a run whose record could not be kept with exit status 1.
</translation>
    </message>
    <message>
        <source>信任该公钥文件的密钥签名的固件包（可多次给出）</source>
        <translation>trust packages signed by the key in this public-key file (may be given more than once)</translation>
    </message>
    <message>
        <source>拒绝没有签名的固件包</source>
        <translation>refuse packages that are not signed</translation>
    </message>
    <message>
        <source>--trusted-key FILE 信任 FILE（minisign 公钥文件）的密钥签名的固件包；可多次给出。
密钥文件夹中的每个 *.pub 也受信任（见 README）。
</source>
        <translation>--trusted-key FILE trusts packages signed by the key in FILE (a minisign public-key file);
may be given more than once. Every *.pub in the key folder is trusted too (see the README).
</translation>
    </message>
    <message>
        <source>--require-signed 拒绝没有签名的固件包（密钥文件夹中有 require-signed 文件时也如此）。
</source>
        <translation>--require-signed refuses packages that are not signed (as does a require-signed file in the key folder).
</translation>
    </message>
    <message>
        <source>值</source>
        <translation>value</translation>
    </message>
    <message>
        <source>选项 %s 的值为空</source>
        <translation>option %s was given an empty value</translation>
    </message>
    <message>
        <source>选项 %s 缺少值</source>
        <translation>option %s needs a value</translation>
    </message>
    <message>
        <source>--sim-faults 需要 --simulate</source>
        <translation>--sim-faults needs --simulate</translation>
    </message>
    <message>
        <source>--sim-devices 需要 --simulate</source>
        <translation>--sim-devices needs --simulate</translation>
    </message>
    <message>
        <source>--sim-devices 只接受 1 到 %d 的设备数量</source>
        <translation>--sim-devices takes a number of devices from 1 to %d</translation>
    </message>
    <message>
        <source>--replay-pace 只能与 --replay 一起使用</source>
        <translation>--replay-pace needs --replay</translation>
    </message>
    <message>
        <source>--sim-state 需要 --simulate</source>
        <translation>--sim-state needs --simulate</translation>
    </message>
    <message>
        <source>--sim-state 只能用于一台模拟设备</source>
        <translation>--sim-state works with one simulated device only</translation>
    </message>
    <message>
        <source>%s 不是模拟设备的状态文件，已保持原样</source>
        <translation>%s is not a state file of the simulated device; it was left as it is</translation>
    </message>
    <message>
        <source>模拟设备的状态文件 %s 已损坏（%s），已保持原样</source>
        <translation>the simulated device's state file %s is damaged (%s); it was left as it is</translation>
    </message>
    <message>
        <source>模拟设备的状态文件 %s 是较新的程序写的（%s），已保持原样</source>
        <translation>the simulated device's state file %s was written by a newer program (%s); it was left as it is</translation>
    </message>
    <message>
        <source>无法读取模拟设备的状态文件 %s（%s）</source>
        <translation>cannot read the simulated device's state file %s (%s)</translation>
    </message>
    <message>
        <source>无法写入模拟设备的状态文件 %s（%s）</source>
        <translation>cannot write the simulated device's state file %s (%s)</translation>
    </message>
    <message>
        <source>该设备上次更新停止于 %s，第 %d 个映像（共 %d 个）</source>
        <translation>the last update of this unit stopped at %s, image %d of %d</translation>
    </message>
    <message>
        <source>该设备上次更新停止于重启进入更新环境时</source>
        <translation>the last update of this unit stopped as it restarted into its update environment</translation>
    </message>
    <message>
        <source>该设备上次更新停止于重启离开更新环境时</source>
        <translation>the last update of this unit stopped as it restarted out of its update environment</translation>
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
