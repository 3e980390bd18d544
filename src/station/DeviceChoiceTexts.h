#pragma once
// Why a run takes none of the devices attached, in the program's own language; the translation
// files map them like the string table.

namespace tavlin::station::choicetext {

// Several devices and no --device: the ports found.
inline constexpr const char* kSeveralDevices =
    "连接了多台设备（端口：%s），请用 --device 指定其中一台";
// --device with a port no attached device sits on: the port, then the attached ones.
inline constexpr const char* kNoDeviceOnPort = "端口 %s 上没有设备（已连接的设备在端口：%s）";

// Every text above, for the translation completeness check.
inline constexpr const char* kAllTexts[] = {kSeveralDevices, kNoDeviceOnPort};

}  // namespace tavlin::station::choicetext
