#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <optional>

namespace tavlin::sim {

// The six bytes of a calibration point request.
struct TouchRequest {
    uint8_t targetCode = 0;
    uint8_t targetNumber = 0;
    uint16_t x = 0;
    uint16_t y = 0;
};

// Where a hand holds the stylus when the device is asked.
struct Touch {
    bool touching = false;
    uint16_t x = 0;
    uint16_t y = 0;
};

// The stylus the calibration touches the screen with.
//
// Automatic: a patient operator. The stylus lands on the target it is asked about, gives 20
// valid samples there and lifts. A request while it is lifted answers "no touch" (what a release
// check wants) and the stylus then lands on that request's target. A request for another target
// while it touches also answers "no touch": the operator lifts before moving on.
// Manual: touching and position are set by hand; a touch within kTolerance pixels of the
// requested target is a valid sample, a touch further away an invalid one.
// A hand (tests) is asked first at every request, in the device's own order, so a test decides
// sample by sample what the stylus does without racing the host; where the hand lets go
// (nullopt) the automatic or manual stylus answers as above.
//
// Reply d[0..15]: d[0] target code, d[1] stage (0 no touch, 1 touching), d[2] target number,
// d[3] samples given at the target, d[4] 1 when the sample is valid, d[8..9] x, d[10..11] y of
// the touch. The host reads r = 0 (no touch), 1 (touch, not valid) or 2 (valid sample).
// Not thread-safe: SimFirmware guards it.
class TouchStylus {
  public:
    static constexpr int kSamplesPerTarget = 20;
    static constexpr int kTolerance = 30;

    using Reply = std::array<uint8_t, 16>;
    using Hand = std::function<std::optional<Touch>(const TouchRequest&)>;

    // Calibration initialisation: the stylus is lifted.
    void Reset();
    void SetAutomatic();
    void SetManual(bool touching, uint16_t x, uint16_t y);
    // An empty hand lets go for good.
    void SetHand(Hand hand) { hand_ = std::move(hand); }
    bool automatic() const { return automatic_; }
    bool touching() const { return touching_; }

    Reply Sample(const TouchRequest& request);

  private:
    Reply Answer(const TouchRequest& request, const Touch& touch, bool valid) const;
    Reply Held(const TouchRequest& request, const Touch& touch) const;

    bool automatic_ = true;
    bool touching_ = false;
    uint8_t target_ = 0;
    int samples_ = 0;
    uint16_t x_ = 0;
    uint16_t y_ = 0;
    Hand hand_;
};

}  // namespace tavlin::sim
