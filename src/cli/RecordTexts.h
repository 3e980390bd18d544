#pragma once
// The texts of the station's run records in the CLI, in the program's own language; the
// translation files map them like the string table.

namespace tavlin::cli::recordtext {

// The run's record could not be kept: the database, then the reason.
inline constexpr const char* kNotKept = "运行记录未能保存到 %s：%s";
// results: a sub-option that is unknown or lacks its value.
inline constexpr const char* kResultsOption = "results：未知或不完整的选项 '%s'";
inline constexpr const char* kResultsLast = "--last 只接受从 1 开始的数量，而不是 '%s'";
inline constexpr const char* kResultsSince = "--since 需要日期（YYYY-MM-DD），而不是 '%s'";
// results export: how many runs, and the file.
inline constexpr const char* kExported = "已导出 %d 条运行记录到 %s";
inline constexpr const char* kCannotWrite = "无法写入 %s";
// results with --results none.
inline constexpr const char* kRecordsOff = "运行记录已关闭（--results none）";
// results: no station database at the path.
inline constexpr const char* kNoDatabase = "没有运行记录数据库 %s";
// The window of the Windows build without SQLite, and the CLI there.
inline constexpr const char* kNoRecordsInThisBuild = "此版本不保存运行记录";
// The upload to the line's server: the server (without its password), then the reason.
inline constexpr const char* kNotUploaded = "运行记录未能上传到 %s：%s（%d 条记录等待下次上传）";
// results upload: how many runs, and the server.
inline constexpr const char* kUploaded = "已上传 %d 条运行记录到 %s";
inline constexpr const char* kNothingWaiting = "没有等待上传的运行记录";
// results upload without --results-server or TAVLIN_RESULTS_SERVER.
inline constexpr const char* kNoServer =
    "没有给出产线服务器（--results-server URL 或环境变量 TAVLIN_RESULTS_SERVER）";
inline constexpr const char* kUnreadableServer =
    "无法读取产线服务器的地址（libpq 连接字符串或 URI）";
// The Windows build, without libpq.
inline constexpr const char* kNoUploadInThisBuild = "此版本不上传运行记录";

// Every text above, for the translation completeness check.
inline constexpr const char* kAllTexts[] = {
    kNotKept,    kResultsOption,    kResultsLast,        kResultsSince,
    kExported,   kCannotWrite,      kRecordsOff,         kNoRecordsInThisBuild,
    kNoDatabase, kNotUploaded,      kUploaded,           kNothingWaiting,
    kNoServer,   kUnreadableServer, kNoUploadInThisBuild};

}  // namespace tavlin::cli::recordtext
