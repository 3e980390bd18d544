#pragma once
// Captions of the leveling windows and the leveling tool's own messages, in the program's own
// language (the translation files map them).

namespace tavlin::leveling::text {

inline constexpr const char* kCaption = "对话框";
inline constexpr const char* kOk = "确定";
inline constexpr const char* kCancel = "取消";
inline constexpr const char* kStartLine = "起始行";
inline constexpr const char* kLevel = "调平";
inline constexpr const char* kAngle = "角度";
inline constexpr const char* kExposureLabel = "曝光";
inline constexpr const char* kDown = "<";
inline constexpr const char* kUp = ">";
inline constexpr const char* kExposureButton = "曝光调节";
inline constexpr const char* kLineStartLeft = "行首向左";
inline constexpr const char* kLineStartRight = "行首向右";
inline constexpr const char* kLineEndLeft = "行尾向左";
inline constexpr const char* kLineEndRight = "行尾向右";
inline constexpr const char* kSaveInfo = "保存信息";
inline constexpr const char* kClientAdjust = "client adjust";
// The main window's status line when the preview images could not be allocated at start.
inline constexpr const char* kNoPreviewBuffers = "预览图像缓冲区不可用，无法打开调平窗口。\n";

inline constexpr const char* kAllTexts[] = {
    kCaption,       kOk,           kCancel,   kStartLine,      kLevel,           kAngle,
    kExposureLabel, kDown,         kUp,       kExposureButton, kLineStartLeft,   kLineStartRight,
    kLineEndLeft,   kLineEndRight, kSaveInfo, kClientAdjust,   kNoPreviewBuffers};

}  // namespace tavlin::leveling::text
