#include "trace/RecordingTransport.h"

#include <algorithm>

namespace tavlin {
namespace {

bool Same(const HidInterfaceInfo& a, const HidInterfaceInfo& b) {
    return a.path == b.path && a.vendorId == b.vendorId && a.productId == b.productId &&
           a.usagePage == b.usagePage && a.usage == b.usage;
}

bool Ours(const HidInterfaceInfo& info) {
    return info.vendorId == kVendorId && IsOurProduct(info.productId);
}

// A node that is gone fails its calls at once; a call still running after this is not about
// the removal, and the recording must not stall the program's detection for it.
constexpr auto kCallsWaitLimit = std::chrono::milliseconds(500);

class CallScope {
  public:
    explicit CallScope(LinkCalls& calls) : calls_(calls), call_(calls.Begin()) {}
    ~CallScope() { calls_.End(call_); }
    CallScope(const CallScope&) = delete;
    CallScope& operator=(const CallScope&) = delete;

  private:
    LinkCalls& calls_;
    const uint64_t call_;
};

class RecordingConnection final : public HidConnection, private LinkTap {
  public:
    RecordingConnection(std::unique_ptr<HidConnection> inner, TraceWriter& writer,
                        std::shared_ptr<LinkCalls> calls)
        : inner_(std::move(inner)),
          writer_(writer),
          calls_(std::move(calls)),
          tapped_(inner_->TapInput(this)) {}
    ~RecordingConnection() override { inner_->TapInput(nullptr); }

    HidConnection& inner() { return *inner_; }

    IoResult Write(const uint8_t* report, size_t length) override {
        const CallScope scope(*calls_);
        IoResult result = inner_->Write(report, length);
        TraceEvent event;
        event.kind = TraceEvent::Kind::Out;
        event.bytes.assign(report, report + length);
        event.outcome = result;
        writer_.Add(std::move(event));
        return result;
    }
    IoResult Read(uint8_t* report, size_t length, int timeoutMs) override {
        const CallScope scope(*calls_);
        IoResult result = inner_->Read(report, length, timeoutMs);
        if (!tapped_ && result.ok()) {
            Received(report, length);
        }
        return result;
    }
    void DiscardPendingInput() override {
        const CallScope scope(*calls_);
        inner_->DiscardPendingInput();
    }
    const std::string& Path() const override { return inner_->Path(); }
    bool Gone() const override { return inner_->Gone(); }

  private:
    void Received(const uint8_t* report, size_t length) override {
        TraceEvent event;
        event.kind = TraceEvent::Kind::In;
        event.bytes.assign(report, report + length);
        writer_.Add(std::move(event));
    }

    std::unique_ptr<HidConnection> inner_;
    TraceWriter& writer_;
    const std::shared_ptr<LinkCalls> calls_;
    const bool tapped_;
};

}  // namespace

uint64_t LinkCalls::Begin() {
    std::lock_guard lock(mutex_);
    const uint64_t call = next_++;
    active_.insert(call);
    return call;
}

void LinkCalls::End(uint64_t call) {
    {
        std::lock_guard lock(mutex_);
        active_.erase(call);
    }
    ended_.notify_all();
}

void LinkCalls::WaitForCallsSoFar(std::chrono::milliseconds limit) {
    std::unique_lock lock(mutex_);
    const uint64_t begunSoFar = next_;
    ended_.wait_for(lock, limit, [&] { return active_.empty() || *active_.begin() >= begunSoFar; });
}

std::vector<HidInterfaceInfo> RecordingTransport::Enumerate() {
    std::vector<HidInterfaceInfo> list = inner().Enumerate();
    std::vector<HidInterfaceInfo> ours;
    std::copy_if(list.begin(), list.end(), std::back_inserter(ours), Ours);

    std::lock_guard lock(mutex_);
    ++looks_;
    const bool removed = std::any_of(present_.begin(), present_.end(), [&ours](const auto& was) {
        return std::none_of(ours.begin(), ours.end(),
                            [&was](const HidInterfaceInfo& now) { return Same(was, now); });
    });
    if (removed) {
        calls_->WaitForCallsSoFar(kCallsWaitLimit);
    }
    // Removals first: a device that re-plugged between two looks left before it came back.
    for (const HidInterfaceInfo& was : present_) {
        const auto same = [&was](const HidInterfaceInfo& now) { return Same(was, now); };
        if (std::none_of(ours.begin(), ours.end(), same)) {
            TraceEvent event;
            event.kind = TraceEvent::Kind::Removal;
            event.info = was;
            event.look = looks_;
            writer_.Add(std::move(event));
        }
    }
    for (const HidInterfaceInfo& now : ours) {
        const auto same = [&now](const HidInterfaceInfo& was) { return Same(was, now); };
        if (std::none_of(present_.begin(), present_.end(), same)) {
            TraceEvent event;
            event.kind = TraceEvent::Kind::Arrival;
            event.info = now;
            event.look = looks_;
            event.bytes = inner().ReportDescriptor(now.path);
            writer_.Add(std::move(event));
        }
    }
    present_ = std::move(ours);
    return list;
}

std::unique_ptr<HidConnection> RecordingTransport::Open(const std::string& path, int* errorCode) {
    std::unique_ptr<HidConnection> connection = inner().Open(path, errorCode);
    if (!connection) {
        // A station's "no access" must replay as one.
        TraceEvent event;
        event.kind = TraceEvent::Kind::OpenFailed;
        event.info.path = path;
        event.openError = static_cast<uint32_t>(*errorCode);
        event.denied = inner().DeniesAccess(*errorCode);
        writer_.Add(std::move(event));
        return nullptr;
    }
    return std::make_unique<RecordingConnection>(std::move(connection), writer_, calls_);
}

std::optional<std::pair<uint16_t, uint16_t>> RecordingTransport::Attributes(
    HidConnection& connection) {
    return inner().Attributes(static_cast<RecordingConnection&>(connection).inner());
}

std::unique_ptr<DeviceChangeWatch> RecordingTransport::WatchPresence(
    std::function<void()> onChange) {
    return inner().WatchPresence([this, onChange = std::move(onChange)] {
        TraceEvent event;
        event.kind = TraceEvent::Kind::Notice;
        writer_.Add(std::move(event));
        onChange();
    });
}

}  // namespace tavlin
