#pragma once
// A scripted HID transport for golden wire tests: it records every output report and answers
// each with a reply produced by a callback (or a time-out / device-gone result).
#include <array>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "device/HidTransport.h"

namespace tavlin::testing {

using Report = std::array<uint8_t, kReportSize>;

struct FakeReply {
    IoStatus status = IoStatus::Ok;
    Report report{};
};

inline FakeReply Accepted(std::vector<uint8_t> data = {}) {
    FakeReply r;
    r.report[0] = kReportId;
    r.report[2] = 0x22;
    for (size_t i = 0; i < data.size(); ++i) {
        r.report[3 + i] = data[i];
    }
    return r;
}

inline FakeReply WithStatus(uint8_t status) {
    FakeReply r = Accepted();
    r.report[2] = status;
    return r;
}

inline FakeReply TimedOut() {
    return {IoStatus::Timeout, {}};
}
inline FakeReply Gone() {
    return {IoStatus::DeviceGone, {}};
}

class FakeTransport : public HidTransport {
  public:
    std::vector<HidInterfaceInfo> interfaces;
    std::vector<Report> written;
    // Answers the n-th output report (0-based); default: accepted with no data.
    std::function<FakeReply(const Report& out, size_t n)> answer = [](const Report&, size_t) {
        return Accepted();
    };
    int opened = 0;
    int closed = 0;
    int discards = 0;                       // input reports dropped as stale before a request
    std::map<std::string, int> openErrors;  // path -> errno to fail with
    std::mutex openErrorsMutex;             // for a test that clears an error while opens run
    void ClearOpenError(const std::string& path) {
        std::lock_guard lock(openErrorsMutex);
        openErrors.erase(path);
    }
    bool present = true;  // Attributes() answers while true

    std::vector<HidInterfaceInfo> Enumerate() override { return interfaces; }

    std::unique_ptr<HidConnection> Open(const std::string& path, int* errorCode) override {
        std::unique_lock lock(openErrorsMutex);
        if (auto it = openErrors.find(path); it != openErrors.end()) {
            *errorCode = it->second;
            return nullptr;
        }
        lock.unlock();
        ++opened;
        *errorCode = 0;
        return std::make_unique<Connection>(*this, path);
    }

    // As on Linux: EACCES and EPERM.
    bool DeniesAccess(int errorCode) const override { return errorCode == 13 || errorCode == 1; }

    std::optional<std::pair<uint16_t, uint16_t>> Attributes(HidConnection& c) override {
        if (!present) {
            return std::nullopt;
        }
        for (const auto& i : interfaces) {
            if (i.path == c.Path()) {
                return std::make_pair(i.vendorId, i.productId);
            }
        }
        return std::nullopt;
    }

  private:
    class Connection : public HidConnection {
      public:
        Connection(FakeTransport& t, std::string path) : t_(t), path_(std::move(path)) {}
        ~Connection() override { ++t_.closed; }
        IoResult Write(const uint8_t* report, size_t length) override {
            Report r{};
            std::copy(report, report + length, r.begin());
            t_.written.push_back(r);
            pending_ = t_.answer(r, t_.written.size() - 1);
            return IoResult::Ok();
        }
        IoResult Read(uint8_t* report, size_t, int) override {
            if (pending_.status == IoStatus::Timeout) {
                return IoResult::Timeout();
            }
            if (pending_.status == IoStatus::DeviceGone) {
                return IoResult::Gone();
            }
            std::copy(pending_.report.begin(), pending_.report.end(), report);
            return IoResult::Ok();
        }
        void DiscardPendingInput() override { ++t_.discards; }
        const std::string& Path() const override { return path_; }

      private:
        FakeTransport& t_;
        std::string path_;
        FakeReply pending_;
    };
};

inline HidInterfaceInfo OurVendorCollection(std::string path, uint16_t pid = kProductIdWork) {
    return {std::move(path), kVendorId, pid, kVendorUsagePage, kVendorUsage};
}

}  // namespace tavlin::testing
