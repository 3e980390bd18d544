#pragma once

namespace tavlin::fwcontrol {

// Controls of the firmware update window (template 143).
inline constexpr int kOk = 1;
inline constexpr int kExit = 2;
inline constexpr int kSwitchMode = 1065;
inline constexpr int kStatusLine = 1067;
inline constexpr int kPackagePath = 1068;
inline constexpr int kChoosePackage = 1069;
inline constexpr int kOneKeyUpdate = 1070;
inline constexpr int kFpgaPath = 1071;
inline constexpr int kChooseFpga = 1072;
inline constexpr int kFpgaUpdate = 1073;
inline constexpr int kReadImageInfo = 1074;
inline constexpr int kWriteImageInfo = 1075;
inline constexpr int kReadFpgaInfo = 1076;
inline constexpr int kWriteFpgaInfo = 1077;
inline constexpr int kProgress = 1078;
// Not in the template: who signed the chosen package, under its path.
inline constexpr int kPackageSigner = 1079;

}  // namespace tavlin::fwcontrol
