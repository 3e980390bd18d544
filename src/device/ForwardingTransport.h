#pragma once
#include "device/HidTransport.h"

namespace tavlin {

// Passes every call on to another transport; a wrapper overrides only what it changes (what
// is listed, what is recorded), so nothing it leaves alone can go missing on the way.
class ForwardingTransport : public HidTransport {
  public:
    explicit ForwardingTransport(HidTransport& inner) : inner_(inner) {}

    std::vector<HidInterfaceInfo> Enumerate() override { return inner_.Enumerate(); }
    std::unique_ptr<HidConnection> Open(const std::string& path, int* errorCode) override {
        return inner_.Open(path, errorCode);
    }
    bool DeniesAccess(int errorCode) const override { return inner_.DeniesAccess(errorCode); }
    std::string AccessRefusalNote() const override { return inner_.AccessRefusalNote(); }
    std::optional<std::pair<uint16_t, uint16_t>> Attributes(HidConnection& connection) override {
        return inner_.Attributes(connection);
    }
    std::vector<uint8_t> ReportDescriptor(const std::string& path) override {
        return inner_.ReportDescriptor(path);
    }
    std::unique_ptr<DeviceChangeWatch> WatchPresence(std::function<void()> onChange) override {
        return inner_.WatchPresence(std::move(onChange));
    }

  protected:
    HidTransport& inner() const { return inner_; }

  private:
    HidTransport& inner_;
};

}  // namespace tavlin
