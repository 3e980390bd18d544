#include "console/WorkerSlot.h"

#include "base/Log.h"
#include "base/Unexpected.h"
#include "device/CommandThread.h"

namespace tavlin {

bool WorkerSlot::Start(void* owner, std::function<void()> body) {
    if (handle_ != nullptr) {
        return false;
    }
    if (thread_.joinable()) {
        thread_.join();  // the previous run has cleared its handle; it is at most finishing
    }
    stop_.Reset();
    finished_.Reset();
    stopSeen_ = false;
    handle_ = owner;
    thread_ = std::thread([this, body = std::move(body)] {
        RunGuarded(body);
        handle_ = nullptr;
        finished_.Set();
    });
    return true;
}

void WorkerSlot::Stop() {
    if (handle_ != nullptr) {
        stop_.Set();
        if (finished_.Wait(kRequestWaitLimitMs) != WAIT_OBJECT_0) {
            WriteLog("A worker did not stop within %u ms\n", kRequestWaitLimitMs);
        }
    }
    if (thread_.joinable()) {
        thread_.join();
    }
}

bool WorkerSlot::StopRequested() {
    if (!stopSeen_ && stop_.Wait(0) == WAIT_OBJECT_0) {
        stopSeen_ = true;
    }
    return stopSeen_;
}

bool WorkerSlot::WaitForStop(uint32_t ms) {
    if (!stopSeen_ && stop_.Wait(ms) == WAIT_OBJECT_0) {
        stopSeen_ = true;
    }
    return stopSeen_;
}

}  // namespace tavlin
