#include "sim/TouchStylus.h"

#include <cstdlib>
#include <utility>

namespace tavlin::sim {

void TouchStylus::Reset() {
    touching_ = automatic_ ? false : touching_;
    samples_ = 0;
}

void TouchStylus::SetAutomatic() {
    automatic_ = true;
    touching_ = false;
    samples_ = 0;
}

void TouchStylus::SetManual(bool touching, uint16_t x, uint16_t y) {
    automatic_ = false;
    touching_ = touching;
    x_ = x;
    y_ = y;
}

TouchStylus::Reply TouchStylus::Answer(const TouchRequest& request, const Touch& touch,
                                       bool valid) const {
    Reply d{};
    d[0] = request.targetCode;
    d[1] = touch.touching ? 1 : 0;
    d[2] = request.targetNumber;
    d[3] = static_cast<uint8_t>(samples_);
    d[4] = valid ? 1 : 0;
    if (touch.touching) {
        d[8] = static_cast<uint8_t>(touch.x & 0xFF);
        d[9] = static_cast<uint8_t>(touch.x >> 8);
        d[10] = static_cast<uint8_t>(touch.y & 0xFF);
        d[11] = static_cast<uint8_t>(touch.y >> 8);
    }
    return d;
}

TouchStylus::Reply TouchStylus::Held(const TouchRequest& request, const Touch& touch) const {
    const bool near = std::abs(int(touch.x) - int(request.x)) <= kTolerance &&
                      std::abs(int(touch.y) - int(request.y)) <= kTolerance;
    return Answer(request, touch, touch.touching && near);
}

TouchStylus::Reply TouchStylus::Sample(const TouchRequest& request) {
    if (hand_) {
        if (const std::optional<Touch> touch = hand_(request)) {
            return Held(request, *touch);
        }
    }
    if (!automatic_) {
        return Held(request, {touching_, x_, y_});
    }
    if (!touching_ || request.targetNumber != target_) {
        // Lifted, or asked about another target: no touch now; the operator then presses
        // the requested target, a little off its centre as a hand does.
        const Reply reply = Answer(request, {}, false);
        touching_ = true;
        target_ = request.targetNumber;
        samples_ = 0;
        x_ = static_cast<uint16_t>(request.x + 2);
        y_ = static_cast<uint16_t>(request.y + 1);
        return reply;
    }
    ++samples_;
    const Reply reply = Answer(request, {true, x_, y_}, true);
    if (samples_ >= kSamplesPerTarget) {
        touching_ = false;
    }
    return reply;
}

}  // namespace tavlin::sim
