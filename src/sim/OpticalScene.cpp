#include "sim/OpticalScene.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace tavlin::sim {
namespace {

constexpr uint8_t kStitchFailed = 0x33;
constexpr int kPieces = 8;

uint32_t Mix(uint64_t x) {
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return static_cast<uint32_t>(x ^ (x >> 31));
}

}  // namespace

OpticalScene::OpticalScene(const SceneSettings& settings)
    : settings_(settings), startLine_(bestStartLine()) {}

uint16_t OpticalScene::bestStartLine() const {
    return static_cast<uint16_t>(std::max(1, settings_.lightRow - kBestBandRow));
}

uint16_t OpticalScene::SearchStartLine() const {
    return settings_.searchAnswer.value_or(bestStartLine());
}

bool OpticalScene::ConfigureStartLine(uint16_t line) {
    if (line == 0 || line > kLastStartLine) {
        return false;
    }
    startLine_ = line;
    return true;
}

int OpticalScene::SensorBandRowAt(int column) const {
    const double climb = settings_.tiltRows * (column - kColumns / 2) / double(kColumns);
    return settings_.lightRow + static_cast<int>(std::floor(climb + 0.5));
}

int OpticalScene::BandRowAt(int column) const {
    return SensorBandRowAt(column) - startLine_;
}

bool OpticalScene::BandInWindow() const {
    for (int column : {int(settings_.firstColumn), int(settings_.lastColumn)}) {
        const int row = BandRowAt(column);
        if (row < 0 || row >= kWindowRows) {
            return false;
        }
    }
    return true;
}

std::array<uint8_t, 12> OpticalScene::StitchLine() const {
    std::array<uint8_t, 12> d{};
    if (!BandInWindow()) {
        d[0] = kStitchFailed;
        return d;
    }
    d[0] = 0x22;
    const int first = settings_.firstColumn;
    const int span = settings_.lastColumn - first;
    int pieceStart = first;
    for (int i = 0; i < kPieces; ++i) {
        // Pieces end on multiples of 10 (the reply carries position / 10); the last one at 639.
        const int end = i < kPieces - 1 ? (first + (i + 1) * span / kPieces) / 10 * 10 : 639;
        if (i < kPieces - 1) {
            d[1 + i] = static_cast<uint8_t>(end / 10);
        }
        const int middle = (pieceStart + std::min(end, int(settings_.lastColumn))) / 2;
        const auto level = static_cast<uint8_t>(std::clamp(BandRowAt(middle), 0, 7));
        d[8 + i / 2] |= static_cast<uint8_t>(i % 2 == 0 ? level : level << 4);
        pieceStart = end;
    }
    return d;
}

uint8_t OpticalScene::Grey(int sensorRow, int column, int noiseRow) const {
    int value = 14;
    if (column >= settings_.firstColumn && column <= settings_.lastColumn) {
        switch (std::abs(sensorRow - SensorBandRowAt(column))) {
            case 0:
                value = 200;
                break;
            case 1:
                value = 110;
                break;
            case 2:
                value = 40;
                break;
            default:
                break;
        }
    }
    const uint64_t key = (uint64_t(settings_.seed) << 32) ^ (uint64_t(noiseRow) << 16) ^
                         static_cast<uint64_t>(column);
    value += static_cast<int>(Mix(key) % 7) - 3;
    return static_cast<uint8_t>(std::clamp(value, 0, 255));
}

uint8_t OpticalScene::WindowPixel(int row, int column) const {
    return Grey(startLine_ + row, column, row);
}

uint8_t OpticalScene::LinePixel(int column) const {
    return Grey(SensorBandRowAt(column), column, kWindowRows);
}

}  // namespace tavlin::sim
