#include "trace/ReplayConnection.h"

#include "device/ReportDescriptor.h"
#include "trace/ReplayTransport.h"

namespace tavlin {

ReplayConnection::ReplayConnection(ReplayTransport& transport, uint64_t instance, std::string path,
                                   const std::vector<uint8_t>& descriptor)
    : transport_(transport),
      instance_(instance),
      path_(std::move(path)),
      link_(*this, InputReportFilter::FromDescriptor(descriptor.data(), descriptor.size())) {}

IoResult ReplayConnection::RanOut() const {
    IoResult result = IoResult::Error(kReplayMismatchError);
    result.detail = "the recording ran out at line " + std::to_string(transport_.RanOutLine());
    return result;
}

IoResult ReplayConnection::Read(uint8_t* report, size_t length, int timeoutMs) {
    // Waiting for a reply that a recording cut short does not hold would only wait out the
    // time limit; the run has to hear that the recording ended there.
    if (transport_.RanOut(instance_, timeoutMs > 0)) {
        return RanOut();
    }
    return link_.Read(report, length, timeoutMs);
}

IoResult ReplayConnection::Write(const uint8_t* report, size_t length) {
    if (transport_.RanOut(instance_, false)) {
        return RanOut();
    }
    IoResult result = link_.Write(report, length);
    if (!mismatch_.empty()) {
        result = IoResult::Error(kReplayMismatchError);
        result.detail = mismatch_;
    }
    return result;
}

bool ReplayConnection::Gone() const {
    return link_.gone() || transport_.IsGone(instance_);
}

int ReplayConnection::ReadRaw(uint8_t* report, size_t length, int timeoutMs, int* error) {
    return transport_.TakeInput(instance_, report, length, timeoutMs, error);
}

int ReplayConnection::WriteRaw(const uint8_t* report, size_t length, int* error) {
    return transport_.MatchOutput(instance_, report, length, error, &mismatch_);
}

}  // namespace tavlin
