#pragma once
// Texts of the calibration check, in the program's own language (the translation files map
// them like the string table).

namespace tavlin::checktext {

// The production window once the calibration is done and the device is back in work mode.
inline constexpr const char* kCompletedOffer = "标定已完成。按空格键检查标定，按Esc退出。\n";
// The client window, below its own line.
inline constexpr const char* kOffer = "按空格键检查标定，按Esc退出。\n";
// While the check runs: the point's number and the number of points.
inline constexpr const char* kTouchPoint =
    "请用触摸笔点击十字星中心（检查点 %d/%d）。按Esc退出。\n";
inline constexpr const char* kSlip = "触摸位置离十字星太远，请重新点击（检查点 %d/%d）。\n";
inline constexpr const char* kNoRoom =
    "屏幕太小，无法在距边缘至少10毫米处放置检查点。按Esc退出。\n";
// The result.
inline constexpr const char* kPass = "合格";
inline constexpr const char* kFail = "不合格";
inline constexpr const char* kNoVerdict = "无法判定";
inline constexpr const char* kTolerance = "允许误差 %.1f 毫米，误差向量放大10倍显示。";
inline constexpr const char* kPixelsOnly = "系统未提供屏幕的物理尺寸，误差只能以像素表示。";
inline constexpr const char* kColumnPoint = "检查点";
inline constexpr const char* kColumnPixels = "误差（像素）";
inline constexpr const char* kColumnMm = "误差（毫米）";
inline constexpr const char* kColumnInput = "输入";
inline constexpr const char* kTouch = "触摸";
inline constexpr const char* kMouse = "鼠标";
inline constexpr const char* kAccept = "接受";
inline constexpr const char* kCheckAgain = "重新检查";
inline constexpr const char* kCalibrateAgain = "重新标定";

// Every text above, for the translation completeness check.
inline constexpr const char* kAllTexts[] = {
    kCompletedOffer, kOffer,     kTouchPoint, kSlip,        kNoRoom,        kPass,     kFail,
    kNoVerdict,      kTolerance, kPixelsOnly, kColumnPoint, kColumnPixels,  kColumnMm, kColumnInput,
    kTouch,          kMouse,     kAccept,     kCheckAgain,  kCalibrateAgain};

}  // namespace tavlin::checktext
