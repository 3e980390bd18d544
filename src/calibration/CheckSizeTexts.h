#pragma once
// Texts of the calibration check's screen size, in the program's own language (the translation
// files map them like the string table).

namespace tavlin::checksizetext {

// The check window where the system gives no real size: the field below it takes one.
inline constexpr const char* kAskSize =
    "系统未提供屏幕的物理尺寸，无法以毫米判定。请输入屏幕显示区域的宽和高（毫米，例如 "
    "527x296）后按回车；直接按回车则只以像素检查。按Esc退出。\n";
// Before kAskSize when the field held no size; the text typed.
inline constexpr const char* kBadSize = "“%s”不是以毫米表示的屏幕尺寸。\n";
// tavlin --help, and its refusal of a bad value.
inline constexpr const char* kScreenSizeHelp =
    "标定检查所用的屏幕尺寸，单位毫米（例如 527x296），优先于显示器报告的尺寸";
inline constexpr const char* kWxH = "宽x高";
inline constexpr const char* kBadScreenSize =
    "选项 --screen-size 需要以毫米表示的宽和高，例如 527x296: %s\n";

// Every text above, for the translation completeness check.
inline constexpr const char* kAllTexts[] = {kAskSize, kBadSize, kScreenSizeHelp, kWxH,
                                            kBadScreenSize};

}  // namespace tavlin::checksizetext
