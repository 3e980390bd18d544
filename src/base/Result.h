#pragma once
#include <string>
#include <utility>

namespace tavlin {

// What went wrong, as far as a caller needs to decide: the front ends map it to their exit
// status and the window to its texts. The device-facing codes follow the link's own outcomes.
enum class ResultCode {
    Ok,
    NoDevice,    // no device of ours is open
    NoAccess,    // a device of ours is there, but this user may not open it
    Timeout,     // a transfer or a wait ran out of time
    Refused,     // the device answered with a status other than success
    DeviceGone,  // the device went away during the operation
    IoError,     // the system reported another error on the link
    BadInput,    // a file, operand or package that cannot be used
    Busy,        // another worker holds what this one needs
    Stopped,     // the user or the exit path stopped the operation
    Failed,      // any other failure; the reason says which
};

const char* ResultCodeName(ResultCode code);

// The outcome of a request, a transfer or a worker: a code and, on failure, a reason for the
// log and for the person reading a station's output. The system's own texts are shown by the
// caller; the reason is context, not a replacement for them.
class [[nodiscard]] Result {
  public:
    Result() = default;
    static Result Ok() { return Result(); }
    static Result Fail(ResultCode code, std::string reason) {
        return Result(code, std::move(reason));
    }

    bool ok() const { return code_ == ResultCode::Ok; }
    // So a link call reads as a condition where only success matters: `if (!HidCommand(...))`.
    explicit operator bool() const { return ok(); }
    ResultCode code() const { return code_; }
    const std::string& reason() const { return reason_; }

    // "Refused: status 0x23 for command 0x0E", or "Ok".
    std::string describe() const;

  private:
    Result(ResultCode code, std::string reason) : code_(code), reason_(std::move(reason)) {}
    ResultCode code_ = ResultCode::Ok;
    std::string reason_;
};

}  // namespace tavlin
