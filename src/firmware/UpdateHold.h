#pragma once
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "base/Result.h"
#include "firmware/UpdatePlan.h"

namespace tavlin {

// An image an update wrote whole, as the worker reported it.
struct WrittenImage {
    ImageWrite write;
    std::string name;
    uint64_t bytes = 0;
    int packets = 0;
};

// What one update did, once its worker has ended.
struct UpdateEnd {
    Result result;
    std::string package;
    std::vector<WrittenImage> images;
    std::optional<std::pair<uint32_t, uint32_t>> versions;  // master, slave; after a success
    int64_t startedMs = 0;                                  // wall clock
    int64_t endedMs = 0;
};

// What an update shows, held back so that its outcome shows only once the update is recorded.
// A text is passed on as soon as the worker shows it has moved past it (a later text or a
// progress step); the last one, the outcome, stays until Release. Whatever comes after the
// worker's end stays too, behind it. Any thread.
class UpdateHold {
  public:
    enum class Kind { Status, Progress, MainVersion };
    struct Call {
        Kind kind;
        std::string text;
        int position = 0;
    };
    using Sink = std::function<void(const Call&)>;

    UpdateHold(std::string package, int64_t startedMs);

    // Hands to `sink` (under the hold's lock, so the order is kept) what may show now.
    void Add(Call call, const Sink& sink);
    void Written(WrittenImage image);
    // The worker has ended: nothing more passes until Release.
    void End(Result result, std::optional<std::pair<uint32_t, uint32_t>> versions, int64_t endedMs);
    bool Ended() const;
    // Waits for End; it always comes, the worker's every wait being bounded.
    UpdateEnd WaitForEnd();
    // Hands on everything held; from now on every call passes at once.
    void Release(const Sink& sink);

  private:
    mutable std::mutex mutex_;
    std::condition_variable ended_;
    UpdateEnd end_;
    bool hasEnded_ = false;
    bool released_ = false;
    std::vector<Call> held_;
};

}  // namespace tavlin
