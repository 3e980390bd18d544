#pragma once
#include <array>
#include <cstdint>
#include <optional>

namespace tavlin::sim {

// What one sensor sees: a lit band across the columns of its lit region, slightly tilted, at a
// row of the sensor. The device shows an eight-row window of the sensor starting at the
// configured start line, so the band's row in the window moves when the start line moves.
struct SceneSettings {
    uint16_t lightRow = 243;  // sensor row of the band at the middle column
    int tiltRows = 2;         // rows the band climbs from the left edge to the right edge
    uint16_t firstColumn = 40;
    uint16_t lastColumn = 600;
    // What the start line search answers; by default the best start line. Tests set 0 or a
    // value past 640 to see the host reject it.
    std::optional<uint16_t> searchAnswer;
    uint8_t exposureFirst = 0x30;
    uint8_t exposureSecond = 0x08;
    uint32_t seed = 1;  // the preview noise
};

// Not thread-safe: SimFirmware guards it.
class OpticalScene {
  public:
    static constexpr int kWindowRows = 8;
    static constexpr int kColumns = 640;
    // The search puts the band in this row of the window.
    static constexpr int kBestBandRow = 3;
    static constexpr uint16_t kLastStartLine = 640;

    explicit OpticalScene(const SceneSettings& settings = {});

    const SceneSettings& settings() const { return settings_; }
    // Changing the scene keeps the configured start line: the module moved, not the sensor.
    void Configure(const SceneSettings& settings) { settings_ = settings; }

    uint16_t bestStartLine() const;
    uint16_t SearchStartLine() const;
    uint16_t startLine() const { return startLine_; }
    // False for a line the window cannot start at (0 or past 640); nothing changes then.
    bool ConfigureStartLine(uint16_t line);

    // The band's row in the window at a column; outside 0..7 when the window misses it.
    int BandRowAt(int column) const;
    // The window holds the band over the whole lit region.
    bool BandInWindow() const;

    // The line optimisation reply d[0..11].
    std::array<uint8_t, 12> StitchLine() const;
    // Grey value of the eight-row area and of the one-row area (the stitched line).
    uint8_t WindowPixel(int row, int column) const;
    uint8_t LinePixel(int column) const;

  private:
    int SensorBandRowAt(int column) const;
    uint8_t Grey(int sensorRow, int column, int noiseRow) const;

    SceneSettings settings_;
    uint16_t startLine_;
};

}  // namespace tavlin::sim
