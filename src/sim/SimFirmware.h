#pragma once
#include <array>
#include <cstdint>
#include <mutex>
#include <optional>
#include <vector>

#include "sim/CodePacketArea.h"
#include "sim/FpgaRegisterFile.h"
#include "sim/OpticalScene.h"
#include "sim/SimFlash.h"
#include "sim/SimTypes.h"
#include "sim/TouchStylus.h"

namespace tavlin::sim {

enum class CodeTarget : int { Packet = 0, Packet2 = 1 };  // areas 0x004000 and 0x008000

// What one output report made the device do.
struct FirmwareOutcome {
    std::optional<Report> reply;            // nullopt: the device does not answer
    std::optional<uint16_t> reenumerateAs;  // the device leaves the bus and comes back as this
    bool flashChanged = false;              // something its flash keeps changed
};

// The device's firmware behind the 64-byte reports, independent of any transport. Every
// member may be called from any thread.
class SimFirmware {
  public:
    static constexpr size_t kVersionInfoSize = 38;
    using VersionInfo = std::array<uint8_t, kVersionInfoSize>;
    static constexpr size_t kAnomalyLimit = 10000;

    SimFirmware();

    // Takes one output report (64 bytes, report id first) and returns the input report.
    std::optional<Report> Handle(const uint8_t* outReport64);
    FirmwareOutcome Process(const uint8_t* outReport64);

    uint8_t fpgaRegister(int sensor, uint16_t addr) const;
    void setFpgaRegister(int sensor, uint16_t addr, uint8_t value);
    uint8_t sensorRegister(int sensor, uint8_t reg) const;
    void setSensorRegister(int sensor, uint8_t reg, uint8_t value);

    uint8_t mode() const;
    uint32_t imageVersion(int sensor) const;
    void setImageVersion(int sensor, uint32_t version);
    VersionInfo versionInfo(int sensor) const;

    // The transfer completed last at a code target, exactly as its packets arrived.
    CodePacketArea::Transfer completedTransfer(int sensor, CodeTarget target) const;
    int completedTransferCount(int sensor, CodeTarget target) const;

    SceneSettings scene(int sensor) const;
    void setScene(int sensor, const SceneSettings& settings);
    uint16_t startLine(int sensor) const;

    void setStylusAutomatic();
    void setStylusManual(bool touching, uint16_t x, uint16_t y);
    // The hand is called with the firmware's lock held: it must not call back into it.
    void setStylusHand(TouchStylus::Hand hand);
    bool calibrationInitialised() const;
    std::pair<uint16_t, uint16_t> screenSize() const;

    // Whether the image at a code target counts as written (see SimFlash::State).
    SimFlash::State imageState(int sensor, CodeTarget target) const;
    // What survives a power cut, and putting it back as the device starts.
    SimFlash flash() const;
    void RestoreFlash(const SimFlash& flash);
    // The power goes: an image transfer under way is lost (the image stays unwritten).
    void PowerCut();

    std::vector<SimAnomaly> anomalies() const;
    void clearAnomalies();

  private:
    struct Sensor {
        FpgaRegisterFile fpga;
        std::array<uint8_t, 256> i2c{};
        OpticalScene scene;
        uint32_t imageVersion = 0;
        VersionInfo versionInfo{};
        std::array<CodePacketArea, 2> code;
        std::array<SimFlash::State, 2> image{};
    };

    Report Dispatch(uint8_t command, const uint8_t* p, FirmwareOutcome* outcome);
    Report Registers(uint8_t command, const uint8_t* p);
    Report Leveling(uint8_t command, const uint8_t* p);
    Report Areas(uint8_t command, const uint8_t* p, bool* flashChanged);
    Report CodePacket(uint8_t command, const uint8_t* p, bool* flashChanged);
    Report Preview(uint8_t command, const uint8_t* p);
    Report Calibration(uint8_t command, const uint8_t* p);
    Report Refuse(uint8_t command, std::string what);
    void Note(uint8_t command, std::string what);

    mutable std::mutex mutex_;
    std::array<Sensor, kSensorCount> sensors_;
    uint8_t mode_ = 0x22;
    uint16_t bootProductId_ = kProductIdWork;
    TouchStylus stylus_;
    bool calibrationInitialised_ = false;
    uint16_t screenA_ = 0;
    uint16_t screenB_ = 0;
    std::vector<SimAnomaly> anomalies_;
};

}  // namespace tavlin::sim
