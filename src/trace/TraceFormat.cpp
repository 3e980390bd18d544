#include "trace/TraceFormat.h"

#include <nlohmann/json.hpp>

#include "base/HexDigit.h"
#include "platform/FilePath.h"

namespace tavlin {
namespace {

using nlohmann::json;

const char* EventName(TraceEvent::Kind kind) {
    switch (kind) {
        case TraceEvent::Kind::Out:
            return "out";
        case TraceEvent::Kind::In:
            return "in";
        case TraceEvent::Kind::Arrival:
            return "arrival";
        case TraceEvent::Kind::Removal:
            return "removal";
        case TraceEvent::Kind::OpenFailed:
            return "open";
        case TraceEvent::Kind::Notice:
            return "notice";
        case TraceEvent::Kind::Port:
            return "port";
        case TraceEvent::Kind::End:
            return "end";
    }
    return "";
}

bool ParseHex(const std::string& text, std::vector<uint8_t>* bytes) {
    if (text.size() % 2 != 0) {
        return false;
    }
    bytes->clear();
    for (size_t i = 0; i < text.size(); i += 2) {
        const int high = HexDigit(text[i]);
        const int low = HexDigit(text[i + 1]);
        if (high < 0 || low < 0) {
            return false;
        }
        bytes->push_back(static_cast<uint8_t>(high * 16 + low));
    }
    return true;
}

template <typename T>
bool Number(const json& object, const char* key, T max, T* out) {
    const auto it = object.find(key);
    if (it == object.end() || !it->is_number_unsigned() || it->get<uint64_t>() > max) {
        return false;
    }
    *out = static_cast<T>(it->get<uint64_t>());
    return true;
}

bool Text(const json& object, const char* key, std::string* out) {
    const auto it = object.find(key);
    if (it == object.end() || !it->is_string()) {
        return false;
    }
    *out = it->get<std::string>();
    return true;
}

bool HexMember(const json& object, const char* key, std::vector<uint8_t>* out) {
    std::string text;
    return Text(object, key, &text) && ParseHex(text, out);
}

// The outcome of a write that did not go through; absent for one that did.
bool ParseOutcome(const json& object, IoResult* outcome) {
    const auto it = object.find("result");
    if (it == object.end()) {
        *outcome = IoResult::Ok();
        return true;
    }
    if (*it == "timeout") {
        *outcome = IoResult::Timeout();
    } else if (*it == "gone") {
        *outcome = IoResult::Gone();
    } else if (*it == "error") {
        uint32_t code = 0;
        if (!Number(object, "code", UINT32_MAX, &code)) {
            return false;
        }
        *outcome = IoResult::Error(code);
    } else {
        return false;
    }
    return true;
}

bool ParseEvent(const json& object, TraceEvent* event) {
    std::string name;
    if (!object.is_object() || !Number(object, "t", UINT64_MAX, &event->us) ||
        !Text(object, "event", &name)) {
        return false;
    }
    if (name == "out") {
        event->kind = TraceEvent::Kind::Out;
        return HexMember(object, "report", &event->bytes) && !event->bytes.empty() &&
               ParseOutcome(object, &event->outcome);
    }
    if (name == "in") {
        event->kind = TraceEvent::Kind::In;
        return HexMember(object, "report", &event->bytes) && !event->bytes.empty();
    }
    if (name == "open") {
        event->kind = TraceEvent::Kind::OpenFailed;
        const auto denied = object.find("denied");
        if (denied == object.end() || !denied->is_boolean()) {
            return false;
        }
        event->denied = denied->get<bool>();
        return Text(object, "path", &event->info.path) &&
               Number(object, "error", UINT32_MAX, &event->openError);
    }
    if (name == "notice") {
        event->kind = TraceEvent::Kind::Notice;
        return true;
    }
    if (name == "port") {
        event->kind = TraceEvent::Kind::Port;
        return Text(object, "port", &event->info.port) && !event->info.port.empty();
    }
    if (name == "end") {
        event->kind = TraceEvent::Kind::End;
        const auto complete = object.find("complete");
        if (complete == object.end() || !complete->is_boolean()) {
            return false;
        }
        event->complete = complete->get<bool>();
        return !object.contains("reason") || Text(object, "reason", &event->reason);
    }
    if (object.contains("look") && !Number(object, "look", UINT64_MAX, &event->look)) {
        return false;
    }
    if (name == "removal") {
        event->kind = TraceEvent::Kind::Removal;
        return Text(object, "path", &event->info.path);
    }
    if (name != "arrival") {
        return false;
    }
    event->kind = TraceEvent::Kind::Arrival;
    HidInterfaceInfo& info = event->info;
    // Recordings made before devices were told apart by their port carry none.
    if (object.contains("port") && !Text(object, "port", &info.port)) {
        return false;
    }
    return Text(object, "path", &info.path) &&
           Number<uint16_t>(object, "vendor_id", UINT16_MAX, &info.vendorId) &&
           Number<uint16_t>(object, "product_id", UINT16_MAX, &info.productId) &&
           Number<uint16_t>(object, "usage_page", UINT16_MAX, &info.usagePage) &&
           Number<uint16_t>(object, "usage", UINT16_MAX, &info.usage) &&
           HexMember(object, "descriptor", &event->bytes);
}

// No line of a recording nests: one object of plain values. Deeper input is refused before
// the parser sees it, whose depth would only be bounded by the line's length.
bool ShallowEnough(std::string_view text) {
    int depth = 0;
    bool inString = false;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (inString) {
            if (c == '\\') {
                ++i;
            } else if (c == '"') {
                inString = false;
            }
        } else if (c == '"') {
            inString = true;
        } else if ((c == '{' || c == '[') && ++depth > kMaxTraceDepth) {
            return false;
        } else if (c == '}' || c == ']') {
            --depth;
        }
    }
    return true;
}

}  // namespace

std::string HexBytes(const std::vector<uint8_t>& bytes) {
    static const char kDigits[] = "0123456789abcdef";
    std::string text;
    text.reserve(bytes.size() * 2);
    for (uint8_t b : bytes) {
        text += kDigits[b >> 4];
        text += kDigits[b & 15];
    }
    return text;
}

std::string TraceHeaderLine(const std::string& toolVersion) {
#ifdef _WIN32
    const char* platform = "windows";
#else
    const char* platform = "linux";
#endif
    const nlohmann::ordered_json header = {{"format", kTraceFormat},
                                           {"version", kTraceVersion},
                                           {"tool", toolVersion},
                                           {"platform", platform}};
    return header.dump();
}

std::string TraceEventLine(const TraceEvent& event) {
    nlohmann::ordered_json line = {{"t", event.us}, {"event", EventName(event.kind)}};
    switch (event.kind) {
        case TraceEvent::Kind::Out:
            line["report"] = HexBytes(event.bytes);
            if (event.outcome.status == IoStatus::Timeout) {
                line["result"] = "timeout";
            } else if (event.outcome.status == IoStatus::DeviceGone) {
                line["result"] = "gone";
            } else if (event.outcome.status == IoStatus::Error) {
                line["result"] = "error";
                line["code"] = event.outcome.code;
            }
            break;
        case TraceEvent::Kind::In:
            line["report"] = HexBytes(event.bytes);
            break;
        case TraceEvent::Kind::Arrival:
            line["path"] = event.info.path;
            line["vendor_id"] = event.info.vendorId;
            line["product_id"] = event.info.productId;
            line["usage_page"] = event.info.usagePage;
            line["usage"] = event.info.usage;
            if (!event.info.port.empty()) {
                line["port"] = event.info.port;
            }
            line["descriptor"] = HexBytes(event.bytes);
            line["look"] = event.look;
            break;
        case TraceEvent::Kind::Removal:
            line["path"] = event.info.path;
            line["look"] = event.look;
            break;
        case TraceEvent::Kind::OpenFailed:
            line["path"] = event.info.path;
            line["error"] = event.openError;
            line["denied"] = event.denied;
            break;
        case TraceEvent::Kind::Notice:
            break;
        case TraceEvent::Kind::Port:
            line["port"] = event.info.port;
            break;
        case TraceEvent::Kind::End:
            line["complete"] = event.complete;
            if (!event.complete) {
                line["reason"] = event.reason;
            }
            break;
    }
    // A path or version is not always valid UTF-8 (a node name is bytes): replace, never throw.
    return line.dump(-1, ' ', false, json::error_handler_t::replace);
}

bool IsTraceHeaderLine(std::string_view text) {
    if (!ShallowEnough(text)) {
        return false;
    }
    const json object = json::parse(text, nullptr, false);
    if (!object.is_object()) {
        return false;
    }
    // Any member may be of any type in a damaged file: compare, never convert.
    const auto format = object.find("format");
    const auto version = object.find("version");
    return format != object.end() && *format == kTraceFormat && version != object.end() &&
           version->is_number_integer() && *version == kTraceVersion;
}

bool ParseTraceEventLine(std::string_view text, TraceEvent* event) {
    if (!ShallowEnough(text)) {
        return false;
    }
    const json object = json::parse(text, nullptr, false);
    return !object.is_discarded() && ParseEvent(object, event);
}

}  // namespace tavlin
