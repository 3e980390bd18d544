#pragma once
#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "base/Result.h"
#include "records/RunRecord.h"

class QObject;

namespace tavlin {

class UpdateJournal;

// Where and for whom the window keeps its runs' records (--results, --log-dir, --operator,
// --lot).
struct WindowRecordOptions {
    std::string results;  // --results: a file, "none", or empty for the log folder's database
    std::string logDir;
    std::string operatorName;
    std::string lot;
    // --results-server (else TAVLIN_RESULTS_SERVER): the line's PostgreSQL server the records
    // go to after each run; empty: they stay on the station.
    std::string server;
};

// The window's runs on the device, each kept as a record in the station database. Every SQLite
// write happens on this object's own thread: the database's busy time-out may hold a write for
// seconds, and neither the UI thread nor the command thread may wait for that. A run's result is
// shown only once its record is committed (or known lost): Complete hands the showing back to
// the window's thread after the commit. An update's progress, which comes at packet rate, is
// written by a keeper thread of its own, opened from this object's thread once the run is begun.
class WindowRecords {
  public:
    struct Run;

    // Without options the window keeps no records and says nothing of it.
    explicit WindowRecords(const std::optional<WindowRecordOptions>& options);
    ~WindowRecords();  // writes what is queued, then ends the thread
    WindowRecords(const WindowRecords&) = delete;
    WindowRecords& operator=(const WindowRecords&) = delete;

    // The database, absolute; empty when the window keeps no records (--results none, or a
    // build without SQLite).
    const std::string& path() const { return path_; }

    // A run of `command` starts on the device at `port`: its row is written as running.
    std::shared_ptr<Run> Begin(std::string command, std::vector<std::string> arguments,
                               std::string port);
    // The run ends: `finish` runs on the records' thread (so it must carry values, not the
    // window's objects; it may wait for the command thread, bounded), adds what the run found
    // out and returns the run's result; the row is completed, and then `show` runs on
    // `context`'s thread with the warning to put beside the result (empty: the record is kept,
    // or none was asked for). `context` must outlive this object (the window owns it); `show`
    // is dropped if the context is being destroyed by the time it would run.
    // With `ended`, a thread of its own waits in it for the run's end first (it must return,
    // even if late: the exit path ends every worker), so a long run holds up no other record.
    void Complete(const std::shared_ptr<Run>& run, std::function<void()> ended,
                  std::function<Result(RunRecord&)> finish, QObject* context,
                  std::function<void(const std::string& warning)> show);

    // A journal for an update's progress that nobody waits for (its worker calls it), to be
    // given to the update's run with KeepProgress; null when the window keeps no records.
    std::shared_ptr<UpdateJournal> NewUpdateJournal();
    // The progress `journal` (NewUpdateJournal's) was given, and all it is given from now on,
    // goes under `run`'s record until the run is completed.
    void KeepProgress(const std::shared_ptr<Run>& run, std::shared_ptr<UpdateJournal> journal);

    // The last update on a port that did not pass, as the station's records keep it.
    struct UnfinishedOnPort {
        std::string runUuid;
        UpdateProgress where;
        // How the package and its images as read now differ from the files the update kept;
        // empty when they are the same.
        std::string difference;
    };
    // Looks the last update on `port` up on the records' thread, with the package compared; then
    // `answer` runs on `context`'s thread, when one was found (never without records, or when
    // the database is not there; a database that cannot be read is told in the log). `context`
    // must outlive this object, as with Complete.
    void FindUnfinishedUpdate(std::string port, QObject* context,
                              std::function<void(const UnfinishedOnPort&)> answer);

  private:
    void Configure(const WindowRecordOptions& options);
    // Asks the uploader for a pass over the outbox; a pass under way takes the new run too.
    void RequestUpload();
    void ServeUploads();
    void Post(std::function<void()> job);
    void Serve();

    std::string path_;
    std::string operatorName_;
    std::string lot_;
    std::string unavailable_;  // why no record can be kept at all (a build without SQLite)
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::function<void()>> jobs_;
    bool ending_ = false;
    std::thread thread_;
    struct Waiter {
        std::thread thread;
        std::shared_ptr<std::atomic<bool>> done;
    };
    // The upload to the line's server: a thread of its own, since a server that does not answer
    // holds a pass for its whole time limit, and the next run's record must not wait for that.
    std::string server_;
    std::mutex uploadMutex_;
    std::condition_variable uploadWake_;
    bool uploadWanted_ = false;
    bool uploadEnding_ = false;
    std::thread uploader_;
    std::mutex waitersMutex_;
    std::vector<Waiter> waiters_;  // under waitersMutex_; the ended ones are joined as new come
};

}  // namespace tavlin
