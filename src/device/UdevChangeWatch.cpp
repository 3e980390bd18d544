#include "device/DeviceChangeWatch.h"
#include "device/HotplugThread.h"
#include "device/UdevMonitor.h"

namespace tavlin {
namespace {

class UdevChangeWatch final : public DeviceChangeWatch {
  public:
    explicit UdevChangeWatch(std::function<void()> onChange)
        : thread_(monitor_, std::move(onChange)) {}
    bool Start() { return monitor_.Open() && thread_.Start(); }

  private:
    UdevMonitor monitor_;
    HotplugThread thread_;  // declared after the monitor: stopped before it closes
};

}  // namespace

std::unique_ptr<DeviceChangeWatch> WatchDeviceChanges(std::function<void()> onChange) {
    auto watch = std::make_unique<UdevChangeWatch>(std::move(onChange));
    if (!watch->Start()) {
        return nullptr;
    }
    return watch;
}

}  // namespace tavlin
