#pragma once
// The texts of the station's run records in the CLI, in the program's own language; the
// translation files map them like the string table.

#include "station/UpdateStopTexts.h"

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
// Where a unit's last update stopped: the window tells it too.
inline constexpr const char* kStoppedAtImage = stoptext::kStoppedAtImage;
inline constexpr const char* kStoppedRestartingIn = stoptext::kStoppedRestartingIn;
inline constexpr const char* kStoppedRestartingOut = stoptext::kStoppedRestartingOut;
// update --resume: the package it takes.
inline constexpr const char* kResuming = "继续该设备未完成的更新：%s";
// update --resume refused: nothing recorded for the port, records off, another folder, a package
// changed since (its reason).
inline constexpr const char* kNothingToResume = "端口 %s 上的设备没有未完成的更新可继续";
inline constexpr const char* kResumeNeedsRecords =
    "--resume 需要运行记录（不能与 --results none 一起使用）";
inline constexpr const char* kResumeInFolder =
    "请在 %s 中运行 update --resume：更新包的映像文件名相对于该文件夹";
inline constexpr const char* kPackageChanged = "更新包自上次更新以来已更改，不予继续：%s";

// Every text above, for the translation completeness check.
inline constexpr const char* kAllTexts[] = {kNotKept,
                                            kResultsOption,
                                            kResultsLast,
                                            kResultsSince,
                                            kExported,
                                            kCannotWrite,
                                            kRecordsOff,
                                            kNoRecordsInThisBuild,
                                            kNoDatabase,
                                            kNotUploaded,
                                            kUploaded,
                                            kNothingWaiting,
                                            kNoServer,
                                            kUnreadableServer,
                                            kNoUploadInThisBuild,
                                            kStoppedAtImage,
                                            kStoppedRestartingIn,
                                            kStoppedRestartingOut,
                                            kResuming,
                                            kNothingToResume,
                                            kResumeNeedsRecords,
                                            kResumeInFolder,
                                            kPackageChanged};

}  // namespace tavlin::cli::recordtext
