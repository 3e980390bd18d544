#include "sim/FaultPlan.h"

#include "device/AddressWord.h"
#include "device/DeviceProtocol.h"

namespace tavlin::sim {
namespace {

namespace c = tavlin::cmd;

// The image a firmware-write packet belongs to; -1 for every other report.
int ImageOfPacket(uint8_t command) {
    switch (command & 0x3F) {
        case c::kCodePacketMaster:
            return 0;
        case c::kCodePacketSlave:
            return 1;
        case c::kCodePacket2Master:
            return 2;
        case c::kCodePacket2Slave:
            return 3;
        default:
            return -1;
    }
}

// The image whose version record a report writes; -1 for every other report. The HInfo images
// keep theirs in the version info records, LInfo and RInfo in the image versions (whose
// Master write with no bytes is the read of both).
int ImageOfVersionWrite(const uint8_t* report) {
    switch (report[1]) {
        case c::kVersionInfoWriteMaster:
            return 0;
        case c::kVersionInfoWriteSlave:
            return 1;
        case c::kImageVersionWriteMaster:
            return report[5] != 0 ? 2 : -1;
        case c::kImageVersionWriteSlave:
            return 3;
        default:
            return -1;
    }
}

}  // namespace

FaultSettings FaultPlan::settings() const {
    std::lock_guard lock(mutex_);
    return settings_;
}

void FaultPlan::Set(const FaultSettings& settings) {
    std::lock_guard lock(mutex_);
    settings_ = settings;
    reports_ = 0;
    unplugFired_ = false;
    powerCutFired_ = false;
    codePackets_ = 0;
    imagePackets_ = {};
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
    return Decide(command);
}

FaultDecision FaultPlan::OnOutputReport(const uint8_t* report) {
    std::lock_guard lock(mutex_);
    FaultDecision d = Decide(report[1]);
    if (d.action != FaultDecision::Action::Throw && PowerCutDue(report)) {
        d.action = FaultDecision::Action::PowerCut;
        d.replug.reset();
        d.powerOff = settings_.powerCut->off;
    }
    return d;
}

bool FaultPlan::PowerCutDue(const uint8_t* report) {
    const uint8_t command = report[1];
    const int packetOf = ImageOfPacket(command);
    const bool isPacket = packetOf >= 0;
    uint64_t index = 0;  // of this packet in its image's transfer, from 1
    if (isPacket) {
        index = (command & kFirstPacketFlag) != 0 ? 1 : imagePackets_[packetOf] + 1;
    }
    bool due = false;
    if (settings_.powerCut && !powerCutFired_) {
        const PowerCut& cut = *settings_.powerCut;
        switch (cut.at) {
            case PowerCut::At::PacketCount:
                due = isPacket && codePackets_ == cut.packets;
                break;
            case PowerCut::At::Packet:
                due = isPacket && packetOf == cut.image && index == cut.packets;
                break;
            case PowerCut::At::VersionWrite:
                due = ImageOfVersionWrite(report) == cut.image;
                break;
            case PowerCut::At::RestartIn:
            case PowerCut::At::RestartOut:
                due = command == c::kUpdateControl &&
                      report[2] == (cut.at == PowerCut::At::RestartIn ? 0x42 : 0x55);
                break;
        }
    }
    if (due) {
        powerCutFired_ = true;
        imagePackets_ = {};
    } else if (isPacket) {
        ++codePackets_;
        imagePackets_[packetOf] = index;
    }
    return due;
}

FaultDecision FaultPlan::Decide(uint8_t command) {
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
