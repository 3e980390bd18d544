#include "base/Result.h"

namespace tavlin {

const char* ResultCodeName(ResultCode code) {
    switch (code) {
        case ResultCode::Ok:
            return "Ok";
        case ResultCode::NoDevice:
            return "NoDevice";
        case ResultCode::NoAccess:
            return "NoAccess";
        case ResultCode::Timeout:
            return "Timeout";
        case ResultCode::Refused:
            return "Refused";
        case ResultCode::DeviceGone:
            return "DeviceGone";
        case ResultCode::IoError:
            return "IoError";
        case ResultCode::BadInput:
            return "BadInput";
        case ResultCode::Busy:
            return "Busy";
        case ResultCode::Stopped:
            return "Stopped";
        case ResultCode::Failed:
            return "Failed";
    }
    return "Unknown";
}

std::string Result::describe() const {
    std::string text = ResultCodeName(code_);
    if (!reason_.empty()) {
        text += ": ";
        text += reason_;
    }
    return text;
}

}  // namespace tavlin
