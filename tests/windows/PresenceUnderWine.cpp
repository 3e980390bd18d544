// The window's presence path without the window: the Windows device notices (WatchDeviceChanges)
// starting detections on the real Win32 HID link, with every status text the main window's
// status line would show printed as a line "status: TEXT" (UTF-8, line ends as spaces). The
// Wine HID test bed (tests/wine) plugs, unplugs and re-plugs its device while this runs, and
// follows the lines. Runs for SECONDS, then ends through the watch's and the detection's own
// stop. The first line says whether the notices are on: "watch: on" or "watch: off".
//
// Usage: presence_under_wine SECONDS
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>

#include "device/DeviceChangeWatch.h"
#include "device/DeviceDetector.h"
#include "device/HidDevice.h"
#include "device/SharedState.h"
#include "device/SystemTransport.h"

namespace {

class PrintingView : public tavlin::PresenceView {
  public:
    void SetStatusText(const std::string& text) override { Print("status: " + text); }
    void SetVersionText(const std::string&) override {}
    void SetModeToggleCaption(const std::string&) override {}
    void SetFirmwareStatusText(const std::string&) override {}

    void Print(std::string line) {
        for (char& c : line) {
            c = c == '\n' || c == '\r' ? ' ' : c;
        }
        line += "\n";
        std::lock_guard lock(mutex_);
        std::fwrite(line.data(), 1, line.size(), stdout);
        std::fflush(stdout);
    }

  private:
    std::mutex mutex_;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: presence_under_wine SECONDS\n");
        return 2;
    }
    auto transport = tavlin::CreateSystemTransport();
    tavlin::HidDevice device(*transport);
    tavlin::SharedState state;
    PrintingView view;
    tavlin::DeviceDetector detector(state, device, view);
    auto watch = tavlin::WatchDeviceChanges([&detector] { detector.OnDeviceChange(); });
    view.Print(watch != nullptr ? "watch: on" : "watch: off");
    detector.StartDetect();
    std::this_thread::sleep_for(std::chrono::seconds(std::atoi(argv[1])));
    watch.reset();
    detector.WaitIdle();
    tavlin::CloseHidDevice(device);
    return 0;
}
