#pragma once
#include <QMetaObject>
#include <functional>
#include <mutex>

namespace tavlin {

// Calls from worker threads into a window, run later on the window's thread. A QPointer may only
// be read on the thread that destroys its object, so the window is held here under a lock
// instead: a call is posted while the lock is held, and the window detaches itself (under the
// same lock) before anything of it is torn down. After that, calls are dropped. Posting never
// waits for the window's thread, so a worker can't block on a window that waits for the worker.
template <typename Window>
class QueuedCalls {
  public:
    explicit QueuedCalls(Window* window) : window_(window) {}

    void Post(std::function<void(Window&)> fn) {
        std::lock_guard lock(mutex_);
        if (window_ == nullptr) {
            return;
        }
        Window* window = window_;
        // The window is the context object: a call still queued when it is destroyed is dropped.
        QMetaObject::invokeMethod(
            window, [window, fn = std::move(fn)] { fn(*window); }, Qt::QueuedConnection);
    }

    // The window's thread, first thing in the window's destructor.
    void Detach() {
        std::lock_guard lock(mutex_);
        window_ = nullptr;
    }

  private:
    std::mutex mutex_;
    Window* window_;
};

}  // namespace tavlin
