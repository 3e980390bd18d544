#pragma once
#include <array>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <optional>
#include <set>
#include <string>

namespace tavlin::sim {

// A device coming back after an unplug fault.
struct Replug {
    uint16_t productId = 0;
    std::chrono::milliseconds delay{0};

    bool operator==(const Replug&) const = default;
};

// The device's images, numbered as the update writes them: the HInfo image to the Left (Master)
// sensor, the same to the Right (Slave), LInfo to the Left, RInfo to the Right.
inline constexpr int kImageCount = 4;

// A power cut: the report named here never reaches the device; its power goes as it arrives,
// an image left open on the way is lost, and the device comes back after `off`.
struct PowerCut {
    enum class At {
        PacketCount,   // after `packets` firmware-write packets, as the next one arrives
        Packet,        // as packet `packets` (from 1) of image `image` arrives
        VersionWrite,  // as the version record of image `image` arrives
        RestartIn,     // as the update control into the update environment arrives
        RestartOut,    // as the update control back out arrives
    };
    At at = At::PacketCount;
    uint64_t packets = 0;
    int image = 0;  // 0 to kImageCount - 1
    std::chrono::milliseconds off{1000};

    bool operator==(const PowerCut&) const = default;
};

// What can go wrong on the way to the device. Codes are matched against the whole command byte
// (a code packet's flags included); report numbers count output reports from 1, from the moment
// the settings were set.
struct FaultSettings {
    std::chrono::microseconds latency{0};  // per report, each way
    std::set<uint8_t> noReplyCodes;
    std::set<uint8_t> refuseCodes;
    std::optional<uint64_t> noReplyFrom;  // this report and every later one get no answer
    std::optional<uint64_t> refuseFrom;   // ... are refused
    std::optional<uint64_t> unplugAfter;  // gone once this many reports were answered
    std::optional<uint8_t> unplugAt;      // taken, then gone before the answer
    std::optional<Replug> replug;         // after an unplug fault
    // Where the device comes back after it went away by itself (the restart of an update
    // control, a replug): a hub that gives the new instance another port.
    std::optional<std::string> movePort;
    // The link throws an exception when it takes a report with this code: a library's failure
    // that nobody expects, which must still end the run in words.
    std::optional<uint8_t> throwAt;
    // The replies to these reports (numbered as above) come after a stray input report of
    // another collection on the vendor node.
    std::set<uint64_t> foreignBefore;
    // The system gives no device notices (a container, a machine without udev): a watch started
    // while this is set hears of nothing, and presence follows the program's own detections.
    bool noNotices = false;
    std::optional<PowerCut> powerCut;

    bool operator==(const FaultSettings&) const = default;
};

// What happens to one output report.
struct FaultDecision {
    enum class Action {
        Answer,
        NoReply,
        Refuse,
        UnplugBefore,  // the report does not reach the device: it is gone
        UnplugAfter,   // the report is taken, the device goes before it answers
        Throw,         // the link throws
        PowerCut,      // the report does not reach the device: its power is gone
    };
    Action action = Action::Answer;
    std::chrono::microseconds latency{0};
    std::optional<Replug> replug;           // with the unplug actions
    std::chrono::milliseconds powerOff{0};  // with PowerCut: how long the device stays off
    bool foreignFirst = false;  // a stray report of another collection precedes the reply
};

// The fault plan of a simulated device. Thread-safe: tests change it while reports flow.
// Each unplug fault fires once; set the settings again to arm it again.
class FaultPlan {
  public:
    FaultSettings settings() const;
    void Set(const FaultSettings& settings);
    void Clear() { Set({}); }

    void SetLatency(std::chrono::microseconds latency);
    void NoReplyTo(uint8_t code);
    void Refuse(uint8_t code);
    void UnplugAt(uint8_t code, std::optional<Replug> replug = std::nullopt);
    void UnplugAfter(uint64_t reports, std::optional<Replug> replug = std::nullopt);

    // Counts one output report and decides its fate. A power cut needs the whole report (64
    // bytes, report id first): the packets and version records it counts are told by more
    // than the command byte.
    FaultDecision OnOutputReport(uint8_t command);
    FaultDecision OnOutputReport(const uint8_t* report);
    uint64_t reportsSeen() const;

  private:
    FaultDecision Decide(uint8_t command);
    bool PowerCutDue(const uint8_t* report);

    mutable std::mutex mutex_;
    FaultSettings settings_;
    uint64_t reports_ = 0;
    bool unplugFired_ = false;
    bool powerCutFired_ = false;
    uint64_t codePackets_ = 0;                          // firmware-write packets so far
    std::array<uint64_t, kImageCount> imagePackets_{};  // of each image's current transfer
};

}  // namespace tavlin::sim
