#pragma once
// Why a session recording is refused before anything runs, in the program's own language; the
// translation files map them like the string table.

namespace tavlin::trace {

inline constexpr const char* kCannotRead = "无法读取记录文件 %s";
inline constexpr const char* kNotAFile = "记录文件 %s 不是普通文件";
inline constexpr const char* kUnknownFormat =
    "记录文件 %s 的格式或版本未知（只支持 tavlin-trace 第 1 版）";
inline constexpr const char* kBadLine = "记录文件 %s 的第 %d 行无法解析";
inline constexpr const char* kCannotCreate = "无法创建记录文件 %s";
// A replay whose program stopped before it had sent all the recorded output reports (%d).
inline constexpr const char* kOutputsLeft = "回放未完成：记录中还有 %d 个输出报告未发送";
// The run went on, but its recording ended before it did.
inline constexpr const char* kIncomplete = "记录文件 %s 不完整：记录在运行结束前中断";
inline constexpr const char* kPaceValue = "--replay-pace 只接受 recorded 或 immediate";
inline constexpr const char* kReplayAlone = "--replay 不能与 --simulate 或 --record 一起使用";

// Every text above, for the translation completeness check.
inline constexpr const char* kAllTexts[] = {kCannotRead, kNotAFile,     kUnknownFormat,
                                            kBadLine,    kCannotCreate, kOutputsLeft,
                                            kIncomplete, kPaceValue,    kReplayAlone};

}  // namespace tavlin::trace
