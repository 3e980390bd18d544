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

IoResult ReplayConnection::Write(const uint8_t* report, size_t length) {
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
