#pragma once
// The texts of the window's run records and its history window, in the program's own language;
// the translation files map them like the string table.

namespace tavlin::historytext {

// The main window's button that opens the history window, and that window's caption.
inline constexpr const char* kHistory = "运行记录";
// The port filter: its label and its "every port" choice.
inline constexpr const char* kPort = "端口：";
inline constexpr const char* kAllPorts = "全部端口";
// The columns, as the station database names them.
inline constexpr const char* kTime = "时间";
inline constexpr const char* kPortColumn = "端口";
inline constexpr const char* kCommand = "命令";
inline constexpr const char* kOutcome = "结果";
inline constexpr const char* kExit = "退出状态";
inline constexpr const char* kOperator = "操作员";
inline constexpr const char* kLot = "批次";
inline constexpr const char* kVersions = "运行后的版本";
// The database could not be read: the database, then the reason.
inline constexpr const char* kCannotRead = "无法读取运行记录数据库 %s：%s";
inline constexpr const char* kClose = "关闭";

// Every text above, for the translation completeness check.
inline constexpr const char* kAllTexts[] = {
    kHistory, kPort,     kAllPorts, kTime,     kPortColumn, kCommand, kOutcome,
    kExit,    kOperator, kLot,      kVersions, kCannotRead, kClose};

}  // namespace tavlin::historytext
