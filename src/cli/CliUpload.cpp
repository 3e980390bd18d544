#include "cli/CliUpload.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "base/FillText.h"
#include "base/Log.h"
#include "base/StringTable.h"
#include "cli/CliSession.h"
#include "cli/RecordTexts.h"
#include "cli/UnitRecord.h"
#include "platform/FilePath.h"

#ifdef TAVLIN_LINE_SERVER
#include "lineserver/OutboxUpload.h"
#include "lineserver/ServerAddress.h"
#include "records/RecordStore.h"
#endif

namespace tavlin::cli {
namespace {

#ifdef TAVLIN_LINE_SERVER
// After a run: the station is waiting for its next unit.
constexpr std::chrono::milliseconds kAfterRunLimit{3000};
// results upload: a station's whole backlog may be behind it.
constexpr std::chrono::milliseconds kCommandLimit{120000};

struct Upload {
    Result result;
    std::int64_t sent = 0;
    std::int64_t waiting = 0;
    std::string server;  // for people: without the password
};

Upload UploadOutbox(const RunOptions& options, std::chrono::milliseconds limit) {
    Upload upload;
    upload.server = lineserver::ServerForPeople(options.resultsServer);
    if (!lineserver::ReadableServer(options.resultsServer)) {
        upload.result = Result::Fail(ResultCode::BadInput, Tr(recordtext::kUnreadableServer));
        return upload;
    }
    const std::string path = RecordPathFor(options);
    // Uploading makes no database: no file, nothing waiting.
    std::error_code missing;
    if (path.empty() || !std::filesystem::exists(PathFromUtf8(path), missing)) {
        return upload;
    }
    std::unique_ptr<RecordStore> store;
    if (upload.result = RecordStore::Open(path, &store); !upload.result) {
        return upload;
    }
    lineserver::UploadSettings settings;
    settings.server = options.resultsServer;
    settings.timeLimit = limit;
    lineserver::UploadSummary summary;
    upload.result = lineserver::UploadOutbox(*store, settings, &summary);
    upload.sent = summary.sent;
    upload.waiting = summary.waiting;
    return upload;
}

std::string NotUploaded(const Upload& upload) {
    return FillText(Tr(recordtext::kNotUploaded),
                    {upload.server, upload.result.reason(), std::to_string(upload.waiting)});
}
#endif

}  // namespace

int RunResultsUpload(const RunOptions& options, CliOutput& output, RunReport* report) {
    auto fail = [&](const std::string& text) {
        output.LineTo(stderr, "tavlin-cli: " + text);
        report->messages = output.messages();
        report->result = Result::Fail(ResultCode::Failed, text);
        return kExitFailed;
    };
#ifdef TAVLIN_LINE_SERVER
    if (options.resultsServer.empty()) {
        return fail(Tr(recordtext::kNoServer));
    }
    const Upload upload = UploadOutbox(options, kCommandLimit);
    if (!upload.result) {
        return fail(NotUploaded(upload));
    }
    output.Line(upload.sent == 0 ? Tr(recordtext::kNothingWaiting)
                                 : FillText(Tr(recordtext::kUploaded),
                                            {std::to_string(upload.sent), upload.server}));
    report->messages = output.messages();
    report->result = Result::Ok();
    return kExitSuccess;
#else
    (void)options;
    return fail(Tr(recordtext::kNoUploadInThisBuild));
#endif
}

void UploadAfterRun(const RunOptions& options) {
    if (options.resultsServer.empty()) {
        return;
    }
#ifdef TAVLIN_LINE_SERVER
    const Upload upload = UploadOutbox(options, kAfterRunLimit);
    if (upload.result) {
        return;
    }
    const std::string text = NotUploaded(upload);
    // The session's log has had its end line by now; the warning still belongs to this run.
    if (LogStarted()) {
        const std::string& reason = upload.result.reason();
        WriteLogSized(upload.server.size() + reason.size() + 96,
                      "Warning: run records not uploaded to %s: %s (%lld waiting)\n",
                      upload.server.c_str(), reason.c_str(),
                      static_cast<long long>(upload.waiting));
    }
#else
    const std::string text = Tr(recordtext::kNoUploadInThisBuild);
#endif
    std::fprintf(stderr, "tavlin-cli: %s\n", text.c_str());
}

}  // namespace tavlin::cli
