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
        <source>Download</source>
        <translation>Download</translation>
    </message>
    <message>
        <source>Script</source>
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
</context>
</TS>
