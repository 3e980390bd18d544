#pragma once
// Texts of the calibration windows and the calibration worker, in the program's own language
// (the translation files map them like the string table).

namespace tavlin::caltext {

inline constexpr const char* kWindowCaption = "对话框";
inline constexpr const char* kInitFailed = "标定初始化失败，请先退出 , 重新标定!\n";
inline constexpr const char* kTouchTheCross = "请用触摸笔垂直点击十字星中心，进行标定。\n";
inline constexpr const char* kUnplugged = "设备已拔出,请按Esc退出。";
inline constexpr const char* kCompleted = "标定已完成，请退出。\n";
// The device did not take the screen size: the samples it collected are not in use.
inline constexpr const char* kScreenSizeFailed = "标定数据保存失败，请先退出，重新标定!\n";
inline constexpr const char* kNoDeviceAtStart = "设备初始化失败，请退出然后重新进入。\n";
inline constexpr const char* kClientInitialising = "正在初始化设备，请稍候......\n";
// The finishing phase, with its percentage (0 to 100).
inline constexpr const char* kFinishing = "正在保存标定数据，请勿触摸屏幕…… %d%%\n";

// Every text above, for the translation completeness check.
inline constexpr const char* kAllTexts[] = {
    kWindowCaption,    kInitFailed,      kTouchTheCross,      kUnplugged, kCompleted,
    kScreenSizeFailed, kNoDeviceAtStart, kClientInitialising, kFinishing};

}  // namespace tavlin::caltext
