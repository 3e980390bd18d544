#pragma once
// Output pane messages the console adds where a command is refused for a reason of its own
// (an operand that is not a number, a transfer that cannot start), in the program's own
// language; the translation files map them like the string table.

namespace tavlin::console {

inline constexpr const char* kAddressNotNumber = "寄存器地址不是数字！\n";
inline constexpr const char* kValueNotNumber = "寄存器值不是数字！\n";
inline constexpr const char* kPreviewNotStopped = "预览未停止，下载未开始！\n";
inline constexpr const char* kTransferBusy = "另一个代码传输正在进行，请稍后再试！\n";

// Every text above, for the translation completeness check.
inline constexpr const char* kAllTexts[] = {kAddressNotNumber, kValueNotNumber, kPreviewNotStopped,
                                            kTransferBusy};

}  // namespace tavlin::console
