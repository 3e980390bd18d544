#pragma once

namespace tavlin::control {

// Controls of the main window that the console workers name.
inline constexpr int kFpgaLabel = 1000;
inline constexpr int kFpgaBrowse = 1002;
inline constexpr int kFpgaPath = 1003;
inline constexpr int kFpgaDownload = 1004;
inline constexpr int kLeveling = 1022;
inline constexpr int kStatusLine = 1060;
inline constexpr int kVersionLine = 1061;
inline constexpr int kSlaveBox = 1063;
inline constexpr int kModeToggle = 1065;

}  // namespace tavlin::control
