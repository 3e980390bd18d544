#pragma once
#include <condition_variable>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "base/Result.h"
#include "records/RunRecord.h"

namespace tavlin {

// Keeps a running update's progress in the station database on a thread of its own, so the
// update's worker never waits for a disk: it hands over where it stands and goes on. Packets come
// faster than a synced write, so only the newest progress is written, at most every
// kPacketPeriodMs while only the packet moves; a new stage or image is written at once.
class UpdateProgressKeeper {
  public:
    static constexpr int kPacketPeriodMs = 100;

    UpdateProgressKeeper(std::string storePath, std::string runUuid);
    ~UpdateProgressKeeper();
    UpdateProgressKeeper(const UpdateProgressKeeper&) = delete;
    UpdateProgressKeeper& operator=(const UpdateProgressKeeper&) = delete;

    // The update is about to ask the unit to restart: returns once the package and its files
    // are kept (or could not be), since a cut from here on must find them.
    Result Begin(const UpdateProgress& progress);
    // As Begin for a caller that may not wait for a disk: returns at once. The package and its
    // files are still written before any progress noted after them.
    void BeginWithoutWaiting(const UpdateProgress& progress);
    // Returns at once; the newest progress handed over is written soon.
    void Note(const UpdateProgress& progress);
    // Writes what is still pending and ends the thread: the first write that failed, else Ok.
    Result Finish();

  private:
    void Run();
    // Under mutex_: false when the keeper is finishing.
    bool HandBegin(const UpdateProgress& progress);

    const std::string storePath_;
    const std::string runUuid_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::optional<UpdateProgress> begin_;  // waiting for its write, which Begin waits for
    bool begun_ = false;
    std::optional<UpdateProgress> pending_;
    bool urgent_ = false;  // the pending progress changes stage or image
    bool finishing_ = false;
    Result failure_;
    std::thread thread_;
};

}  // namespace tavlin
