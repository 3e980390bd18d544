#pragma once
#include <atomic>
#include <functional>
#include <mutex>
#include <utility>

namespace tavlin::cli {

// A request to stop the run (SIGINT, SIGTERM, Ctrl+C), as the window's exit button is one: the
// command under way ends through its own stop or cancel path, then the session's exit path runs.
// Request() comes from the signal watch's thread; everything else from the session's thread.
class Interruption {
  public:
    // Keeps a stop action in place while it lives; the action before it comes back after.
    class Hook {
      public:
        Hook(Interruption& owner, std::function<void()> previous)
            : owner_(&owner), previous_(std::move(previous)) {}
        Hook(Hook&& other) noexcept
            : owner_(std::exchange(other.owner_, nullptr)), previous_(std::move(other.previous_)) {}
        Hook(const Hook&) = delete;
        Hook& operator=(const Hook&) = delete;
        Hook& operator=(Hook&&) = delete;
        ~Hook();

      private:
        Interruption* owner_;
        std::function<void()> previous_;
    };

    void Request();
    bool requested() const { return requested_; }
    // `stop` runs once on a request (at once when one came already), while the hook lives. It
    // runs on the requesting thread and must only ask a worker to stop, never wait for it.
    [[nodiscard]] Hook OnRequest(std::function<void()> stop);

  private:
    std::atomic<bool> requested_{false};
    std::mutex mutex_;  // held while a stop action runs, so a hook ends only after it
    std::function<void()> stop_;
};

}  // namespace tavlin::cli
