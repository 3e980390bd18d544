#pragma once
// A transport that passes everything on to another and adds up the CPU time its callers spend
// inside the device's calls (reads, writes, discards). Over the simulated device that is the
// device's own share, its link model's timed waits included, so the rest is the host's.
// Reading a thread's CPU clock is a system call (over a microsecond here), so only every
// kSampleEvery-th call of each kind is timed and counted that many times; even so, metering
// costs about as much as the simulated device's whole exchange when it has no latency and is
// meant for a slow link.
#include <atomic>
#include <memory>

#include "ThreadCpuClock.h"
#include "device/HidTransport.h"

namespace tavlin::bench {

class MeteredTransport : public HidTransport {
  public:
    MeteredTransport(HidTransport& inner, bool metering) : inner_(inner), metering_(metering) {}

    bool metering() const { return metering_; }

    double DeviceCpuSeconds() const { return static_cast<double>(nanoseconds_.load()) / 1e9; }

    std::vector<HidInterfaceInfo> Enumerate() override { return inner_.Enumerate(); }
    std::unique_ptr<HidConnection> Open(const std::string& path, int* errorCode) override {
        auto connection = inner_.Open(path, errorCode);
        if (connection == nullptr) {
            return nullptr;
        }
        if (!metering_) {
            return connection;
        }
        return std::make_unique<Connection>(std::move(connection), nanoseconds_);
    }
    std::optional<std::pair<uint16_t, uint16_t>> Attributes(HidConnection& connection) override {
        if (!metering_) {
            return inner_.Attributes(connection);
        }
        return inner_.Attributes(static_cast<Connection&>(connection).inner());
    }

  private:
    static constexpr int kSampleEvery = 8;

    class Connection : public HidConnection {
      public:
        Connection(std::unique_ptr<HidConnection> inner, std::atomic<int64_t>& nanoseconds)
            : inner_(std::move(inner)), nanoseconds_(nanoseconds) {}
        HidConnection& inner() { return *inner_; }

        IoResult Write(const uint8_t* report, size_t length) override {
            return Metered(writes_, [&] { return inner_->Write(report, length); });
        }
        IoResult Read(uint8_t* report, size_t length, int timeoutMs) override {
            return Metered(reads_, [&] { return inner_->Read(report, length, timeoutMs); });
        }
        void DiscardPendingInput() override {
            Metered(discards_, [&] {
                inner_->DiscardPendingInput();
                return IoResult::Ok();
            });
        }
        const std::string& Path() const override { return inner_->Path(); }
        bool Gone() const override { return inner_->Gone(); }

      private:
        // Each connection is used by one thread at a time (the command thread's), so the call
        // counts need no atomics.
        template <class Call>
        IoResult Metered(int& calls, Call&& call) {
            if (calls++ % kSampleEvery != 0) {
                return call();
            }
            const double start = ThreadCpuClock::OfCurrentThread();
            const IoResult result = call();
            const double took = ThreadCpuClock::OfCurrentThread() - start;
            nanoseconds_ += static_cast<int64_t>(took * 1e9) * kSampleEvery;
            return result;
        }

        int writes_ = 0, reads_ = 0, discards_ = 0;
        std::unique_ptr<HidConnection> inner_;
        std::atomic<int64_t>& nanoseconds_;
    };

    HidTransport& inner_;
    const bool metering_;
    std::atomic<int64_t> nanoseconds_{0};
};

}  // namespace tavlin::bench
