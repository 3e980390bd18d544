#pragma once
// Where a unit's last update stopped, as both front ends tell it, in the program's own language;
// the translation files map them like the string table.

namespace tavlin::stoptext {

// A unit found in its update environment on a port whose last update did not end: where it stopped
// (the image, its number, how many the update writes), or which restart it did not finish.
inline constexpr const char* kStoppedAtImage = "该设备上次更新停止于 %s，第 %d 个映像（共 %d 个）";
inline constexpr const char* kStoppedRestartingIn = "该设备上次更新停止于重启进入更新环境时";
inline constexpr const char* kStoppedRestartingOut = "该设备上次更新停止于重启离开更新环境时";

}  // namespace tavlin::stoptext
