#include "app/WindowRecords.h"

#include <QMetaObject>
#include <QObject>
#include <filesystem>
#include <system_error>

#include "base/FillText.h"
#include "base/Log.h"
#include "base/StringTable.h"
#include "cli/RecordTexts.h"
#include "firmware/UpdateJournal.h"
#include "platform/FilePath.h"
#ifdef TAVLIN_RECORDS
#include "records/DeferredUpdateJournal.h"
#include "records/RecordContent.h"
#include "records/RecordStore.h"
#endif
#ifdef TAVLIN_LINE_SERVER
#include "lineserver/OutboxUpload.h"
#include "lineserver/ServerAddress.h"
#endif

namespace tavlin {

struct WindowRecords::Run {
    RunRecord record;
#ifdef TAVLIN_RECORDS
    std::unique_ptr<RecordStore> store;
    std::shared_ptr<DeferredUpdateJournal> journal;  // an update's progress, until completed
#endif
    std::string lost;  // why the record is not kept; empty while it is
};

namespace {

#ifdef TAVLIN_RECORDS
std::string Absolute(const std::string& path) {
    std::error_code ignored;
    return Utf8FromPath(std::filesystem::absolute(PathFromUtf8(path), ignored).lexically_normal());
}
#endif

}  // namespace

WindowRecords::WindowRecords(const std::optional<WindowRecordOptions>& given) {
    if (given) {
        Configure(*given);
    }
    thread_ = std::thread([this] { Serve(); });
    if (!server_.empty() && !path_.empty()) {
        uploader_ = std::thread([this] { ServeUploads(); });
        RequestUpload();  // what earlier runs left waiting
    }
}

void WindowRecords::RequestUpload() {
    if (!uploader_.joinable()) {
        return;
    }
    {
        const std::lock_guard<std::mutex> lock(uploadMutex_);
        uploadWanted_ = true;
    }
    uploadWake_.notify_one();
}

void WindowRecords::ServeUploads() {
#ifdef TAVLIN_LINE_SERVER
    // A pass waits at most this long for the server: the window's exit waits for a pass.
    constexpr std::chrono::milliseconds kPassLimit{5000};
    std::unique_lock<std::mutex> lock(uploadMutex_);
    for (;;) {
        uploadWake_.wait(lock, [this] { return uploadWanted_ || uploadEnding_; });
        if (uploadEnding_) {
            return;
        }
        uploadWanted_ = false;
        lock.unlock();
        std::unique_ptr<RecordStore> store;
        lineserver::UploadSummary summary;
        Result uploaded = RecordStore::Open(path_, &store);
        if (uploaded) {
            lineserver::UploadSettings settings;
            settings.server = server_;
            settings.timeLimit = kPassLimit;
            uploaded = lineserver::UploadOutbox(*store, settings, &summary);
        }
        if (!uploaded) {
            const std::string server = lineserver::ServerForPeople(server_);
            WriteLog("Warning: run records not uploaded to %s: %s (%lld waiting)\n", server.c_str(),
                     uploaded.reason().c_str(), static_cast<long long>(summary.waiting));
        }
        lock.lock();
    }
#endif
}

void WindowRecords::Configure(const WindowRecordOptions& options) {
#ifdef TAVLIN_LINE_SERVER
    server_ = options.server;
#endif
    operatorName_ = options.operatorName;
    lot_ = options.lot;
#ifdef TAVLIN_RECORDS
    const std::string path = StationRecordPath(options.results, options.logDir);
    if (!path.empty()) {
        path_ = Absolute(path);
    }
#else
    if (!options.results.empty() && !RecordsOff(options.results)) {
        path_ = options.results;
        unavailable_ = Tr(cli::recordtext::kNoRecordsInThisBuild);
    }
#endif
    if (RecordsOff(options.results)) {
        WriteLog("Run records are off (--results none)\n");
    }
}

WindowRecords::~WindowRecords() {
    // The waiters first: each posts its run's completion, which the thread still writes.
    std::vector<Waiter> waiters;
    {
        const std::lock_guard<std::mutex> lock(waitersMutex_);
        waiters.swap(waiters_);
    }
    for (Waiter& waiter : waiters) {
        waiter.thread.join();
    }
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        ending_ = true;
    }
    wake_.notify_one();
    if (thread_.joinable()) {
        thread_.join();
    }
    // Last: the runs completed just now may have asked for a pass, which is dropped; they wait
    // in the outbox for the next run.
    {
        const std::lock_guard<std::mutex> lock(uploadMutex_);
        uploadEnding_ = true;
    }
    uploadWake_.notify_one();
    if (uploader_.joinable()) {
        uploader_.join();
    }
}

void WindowRecords::Post(std::function<void()> job) {
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        jobs_.push_back(std::move(job));
    }
    wake_.notify_one();
}

void WindowRecords::Serve() {
    for (;;) {
        std::function<void()> job;
        {
            std::unique_lock<std::mutex> lock(mutex_);
            wake_.wait(lock, [this] { return ending_ || !jobs_.empty(); });
            if (jobs_.empty()) {
                return;
            }
            job = std::move(jobs_.front());
            jobs_.pop_front();
        }
        job();
    }
}

std::shared_ptr<WindowRecords::Run> WindowRecords::Begin(std::string command,
                                                         std::vector<std::string> arguments,
                                                         std::string port) {
    auto run = std::make_shared<Run>();
    run->record.command = std::move(command);
    run->record.arguments = std::move(arguments);
    run->record.station.toolVersion = TAVLIN_VERSION;
    run->record.operatorName = operatorName_;
    run->record.lot = lot_;
    run->record.unit.port = std::move(port);
    run->lost = unavailable_;
    if (path_.empty() || !run->lost.empty()) {
        return run;
    }
#ifdef TAVLIN_RECORDS
    Post([run, path = path_] {
        if (Result opened = RecordStore::Open(path, &run->store); !opened) {
            run->lost = opened.reason();
            return;
        }
        if (Result begun = run->store->BeginRun(run->record); !begun) {
            run->lost = begun.reason();
            run->store.reset();
        }
    });
#endif
    return run;
}

void WindowRecords::Complete(const std::shared_ptr<Run>& run, std::function<void()> ended,
                             std::function<Result(RunRecord&)> finish, QObject* context,
                             std::function<void(const std::string& warning)> show) {
    auto tell = [context, show = std::move(show), path = path_](const std::string& lost) {
        std::string warning;
        if (!lost.empty()) {
            warning = FillText(Tr(cli::recordtext::kNotKept), {path, lost});
            WriteLogSized(path.size() + lost.size() + 64, "Run record not kept in %s: %s\n",
                          path.c_str(), lost.c_str());
        }
        // Queued to the context: dropped with it if it is gone before the call is delivered.
        QMetaObject::invokeMethod(
            context, [show, warning] { show(warning); }, Qt::QueuedConnection);
    };
    // Also without a record: the run's end may be a wait, which the window's thread never does.
    std::function<void()> complete = [this, run, finish = std::move(finish),
                                      tell = std::move(tell)] {
        RunRecord& record = run->record;
#ifdef TAVLIN_RECORDS
        // Before the run's end: progress written after it would speak of a run that is over.
        if (run->journal != nullptr) {
            if (Result kept = run->journal->Finish(); !kept) {
                WriteLogSized(kept.reason().size() + 64, "Update progress not kept: %s\n",
                              kept.reason().c_str());
            }
        }
#endif
        const Result result = finish(record);
#ifdef TAVLIN_RECORDS
        if (run->store != nullptr) {
            AddLogArtefact(record);
            record.outcome = result.ok()                            ? RunOutcome::Passed
                             : result.code() == ResultCode::Stopped ? RunOutcome::Stopped
                                                                    : RunOutcome::Failed;
            record.exitStatus = result.ok() ? 0 : 1;
            record.reason = result.reason();
            if (Result completed = run->store->CompleteRun(record); !completed) {
                run->lost = completed.reason();
            }
            run->store.reset();
        }
#else
        static_cast<void>(result);
#endif
        tell(run->lost);
        if (run->lost.empty()) {
            RequestUpload();
        }
    };
    if (!ended) {
        Post(std::move(complete));
        return;
    }
    const std::lock_guard<std::mutex> lock(waitersMutex_);
    std::erase_if(waiters_, [](Waiter& waiter) {
        if (!waiter.done->load()) {
            return false;
        }
        waiter.thread.join();  // it has posted its completion and is returning
        return true;
    });
    auto done = std::make_shared<std::atomic<bool>>(false);
    std::thread thread([this, done, ended = std::move(ended), complete = std::move(complete)] {
        ended();
        Post(complete);
        done->store(true);
    });
    waiters_.push_back({std::move(thread), std::move(done)});
}

void WindowRecords::KeepProgress(const std::shared_ptr<Run>& run,
                                 std::shared_ptr<UpdateJournal> journal) {
#ifdef TAVLIN_RECORDS
    auto kept = std::dynamic_pointer_cast<DeferredUpdateJournal>(std::move(journal));
    if (kept == nullptr) {
        return;
    }
    // After the run's begin, which is queued before it: its id is known there.
    Post([run, kept, path = path_] {
        run->journal = kept;
        if (run->store != nullptr) {
            kept->Open(path, run->record.uuid);
        }
    });
#else
    (void)run;
    (void)journal;
#endif
}

}  // namespace tavlin
