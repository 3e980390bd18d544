#pragma once
// A transport that passes everything on to another and adds up the CPU time its callers spend
// inside the device's calls (reads, writes, discards). Over the simulated device that is the
// device's own share, its link model's timed waits included, so the rest is the host's.
#include <atomic>
#include <memory>

#include "ThreadCpuClock.h"
#include "device/HidTransport.h"

namespace tavlin::bench {

class MeteredTransport : public HidTransport {
  public:
    explicit MeteredTransport(HidTransport& inner) : inner_(inner) {}

    double DeviceCpuSeconds() const { return static_cast<double>(nanoseconds_.load()) / 1e9; }

    std::vector<HidInterfaceInfo> Enumerate() override { return inner_.Enumerate(); }
    std::unique_ptr<HidConnection> Open(const std::string& path, int* errorCode) override {
        auto connection = inner_.Open(path, errorCode);
        if (connection == nullptr) {
            return nullptr;
        }
        return std::make_unique<Connection>(std::move(connection), nanoseconds_);
    }
    std::optional<std::pair<uint16_t, uint16_t>> Attributes(HidConnection& connection) override {
        return inner_.Attributes(static_cast<Connection&>(connection).inner());
    }

  private:
    class Connection : public HidConnection {
      public:
        Connection(std::unique_ptr<HidConnection> inner, std::atomic<int64_t>& nanoseconds)
            : inner_(std::move(inner)), nanoseconds_(nanoseconds) {}
        HidConnection& inner() { return *inner_; }

        IoResult Write(const uint8_t* report, size_t length) override {
            return Metered([&] { return inner_->Write(report, length); });
        }
        IoResult Read(uint8_t* report, size_t length, int timeoutMs) override {
            return Metered([&] { return inner_->Read(report, length, timeoutMs); });
        }
        void DiscardPendingInput() override {
            Metered([&] {
                inner_->DiscardPendingInput();
                return IoResult::Ok();
            });
        }
        const std::string& Path() const override { return inner_->Path(); }
        bool Gone() const override { return inner_->Gone(); }

      private:
        template <class Call>
        IoResult Metered(Call&& call) {
            const double start = ThreadCpuClock::OfCurrentThread();
            const IoResult result = call();
            nanoseconds_ += static_cast<int64_t>((ThreadCpuClock::OfCurrentThread() - start) * 1e9);
            return result;
        }

        std::unique_ptr<HidConnection> inner_;
        std::atomic<int64_t>& nanoseconds_;
    };

    HidTransport& inner_;
    std::atomic<int64_t> nanoseconds_{0};
};

}  // namespace tavlin::bench
