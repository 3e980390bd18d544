#pragma once
// The texts of `--all` about a device's copy that did not end as its object says. The
// translation files map them like the string table.

namespace tavlin::cli::alltext {

// What ended it: a signal's name ("SIGKILL"), on Windows a fault's ("STATUS_ACCESS_VIOLATION").
inline constexpr const char* kChildKilled = "进程被 %s 终止";
// Its object said success, but the process ended with this exit status.
inline constexpr const char* kChildStatusDisagrees = "进程报告成功，但以退出状态 %d 结束";

// Every text above, for the translation completeness check.
inline constexpr const char* kAllTexts[] = {kChildKilled, kChildStatusDisagrees};

}  // namespace tavlin::cli::alltext
