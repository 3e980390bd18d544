#include "device/SharedNodeLink.h"

#include <cerrno>
#include <chrono>
#include <cstring>

namespace tavlin {
namespace {

using Clock = std::chrono::steady_clock;

// A node that never runs dry (a finger on the screen at a high report rate) must not hold the
// exchange back: draining stops after this many reports, later ones are skipped by the read.
constexpr int kMaxDrainedReports = 512;
// A write interrupted by signals again and again gives up rather than spin.
constexpr int kMaxWriteAttempts = 16;

int RemainingMs(Clock::time_point deadline) {
    const auto left = deadline - Clock::now();
    if (left <= Clock::duration::zero()) {
        return 0;
    }
    // Rounded up: a sub-millisecond rest waits rather than spins.
    return static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(left).count());
}

}  // namespace

IoResult WriteFailure(int error) {
    switch (error) {
        case ETIMEDOUT:
            return IoResult::Timeout();
        case EIO:
        case ENODEV:
#ifdef ESHUTDOWN  // the Windows C runtime has no such code
        case ESHUTDOWN:
#endif
        case EPIPE:
            return IoResult::Gone();
        case 0:
            return IoResult::Error(EIO);
        default:
            return IoResult::Error(static_cast<uint32_t>(error));
    }
}

IoResult SharedNodeLink::Gone() {
    gone_ = true;
    return IoResult::Gone();
}

void SharedNodeLink::Drain() {
    uint8_t scratch[kReportSize];
    for (int i = 0; i < kMaxDrainedReports && !gone_; ++i) {
        int error = 0;
        const int got = node_.ReadRaw(scratch, sizeof scratch, 0, &error);
        if (got > 0) {
            if (tap_ != nullptr) {
                tap_->Received(scratch, static_cast<size_t>(got));
            }
            continue;
        }
        if (got < 0 && error == EINTR) {
            continue;
        }
        if (got < 0) {
            gone_ = true;
        }
        return;
    }
}

IoResult SharedNodeLink::Write(const uint8_t* report, size_t length) {
    if (gone_) {
        return IoResult::Gone();
    }
    Drain();
    if (gone_) {
        return IoResult::Gone();
    }
    for (int attempt = 0; attempt < kMaxWriteAttempts; ++attempt) {
        int error = 0;
        const int written = node_.WriteRaw(report, length, &error);
        if (written == static_cast<int>(length)) {
            return IoResult::Ok();
        }
        if (written >= 0) {
            return IoResult::Error(EIO);  // a report goes out whole or not at all
        }
        if (error == EINTR) {
            continue;
        }
        const IoResult failure = WriteFailure(error);
        if (failure.status == IoStatus::DeviceGone) {
            gone_ = true;
        }
        return failure;
    }
    return IoResult::Error(EINTR);
}

IoResult SharedNodeLink::Read(uint8_t* report, size_t length, int timeoutMs) {
    if (gone_) {
        return IoResult::Gone();
    }
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs < 0 ? 0 : timeoutMs);
    uint8_t incoming[kReportSize];
    const size_t wanted = length < sizeof incoming ? length : sizeof incoming;
    for (;;) {
        int error = 0;
        const int got = node_.ReadRaw(incoming, wanted, RemainingMs(deadline), &error);
        if (got > 0) {
            if (tap_ != nullptr) {
                tap_->Received(incoming, static_cast<size_t>(got));
            }
            if (filter_.Accepts(incoming[0])) {
                std::memset(report, 0, length);
                std::memcpy(report, incoming, static_cast<size_t>(got));
                return IoResult::Ok();
            }
            // Another collection's report: not ours to answer, and not an error either.
        } else if (got < 0 && error != EINTR) {
            return Gone();
        }
        if (Clock::now() >= deadline) {
            return IoResult::Timeout();
        }
    }
}

}  // namespace tavlin
