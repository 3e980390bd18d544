#include "sim/FaultPlan.h"

namespace tavlin::sim {

FaultSettings FaultPlan::settings() const {
    std::lock_guard lock(mutex_);
    return settings_;
}

void FaultPlan::Set(const FaultSettings& settings) {
    std::lock_guard lock(mutex_);
    settings_ = settings;
    reports_ = 0;
    unplugFired_ = false;
}

void FaultPlan::SetLatency(std::chrono::microseconds latency) {
    std::lock_guard lock(mutex_);
    settings_.latency = latency;
}

void FaultPlan::NoReplyTo(uint8_t code) {
    std::lock_guard lock(mutex_);
    settings_.noReplyCodes.insert(code);
}

void FaultPlan::Refuse(uint8_t code) {
    std::lock_guard lock(mutex_);
    settings_.refuseCodes.insert(code);
}

void FaultPlan::UnplugAt(uint8_t code, std::optional<Replug> replug) {
    std::lock_guard lock(mutex_);
    settings_.unplugAt = code;
    settings_.replug = replug;
    unplugFired_ = false;
}

void FaultPlan::UnplugAfter(uint64_t reports, std::optional<Replug> replug) {
    std::lock_guard lock(mutex_);
    settings_.unplugAfter = reports_ + reports;
    settings_.replug = replug;
    unplugFired_ = false;
}

FaultDecision FaultPlan::OnOutputReport(uint8_t command) {
    std::lock_guard lock(mutex_);
    const uint64_t n = ++reports_;
    FaultDecision d;
    d.latency = settings_.latency;
    const FaultSettings& s = settings_;
    d.foreignFirst = s.foreignBefore.count(n) != 0;
    if (s.throwAt && *s.throwAt == command) {
        d.action = FaultDecision::Action::Throw;
    } else if (!unplugFired_ && s.unplugAfter && n > *s.unplugAfter) {
        unplugFired_ = true;
        d.action = FaultDecision::Action::UnplugBefore;
        d.replug = s.replug;
    } else if (!unplugFired_ && s.unplugAt && *s.unplugAt == command) {
        unplugFired_ = true;
        d.action = FaultDecision::Action::UnplugAfter;
        d.replug = s.replug;
    } else if (s.noReplyCodes.count(command) != 0 || (s.noReplyFrom && n >= *s.noReplyFrom)) {
        d.action = FaultDecision::Action::NoReply;
    } else if (s.refuseCodes.count(command) != 0 || (s.refuseFrom && n >= *s.refuseFrom)) {
        d.action = FaultDecision::Action::Refuse;
    }
    return d;
}

uint64_t FaultPlan::reportsSeen() const {
    std::lock_guard lock(mutex_);
    return reports_;
}

}  // namespace tavlin::sim
