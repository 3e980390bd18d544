#include "device/UsbPortPath.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <string_view>

namespace tavlin {
namespace {

struct Segment {
    std::string_view name;
    std::string_view value;
};

template <typename Kind>
bool AllOf(std::string_view text, Kind kind) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [kind](char c) {
        return kind(static_cast<unsigned char>(c));
    });
}

bool IsNameChar(unsigned char c) {
    return std::isalnum(c) != 0 || c == '_';
}
bool IsHexDigit(unsigned char c) {
    return std::isxdigit(c) != 0;
}
bool IsDigit(unsigned char c) {
    return std::isdigit(c) != 0;
}

// "NAME(VALUE)", nothing around it and no parenthesis inside.
std::optional<Segment> ReadSegment(std::string_view text) {
    const size_t open = text.find('(');
    if (open == std::string_view::npos || text.back() != ')') {
        return std::nullopt;
    }
    const Segment segment{text.substr(0, open), text.substr(open + 1, text.size() - open - 2)};
    if (!AllOf(segment.name, IsNameChar) || !AllOf(segment.value, IsNameChar)) {
        return std::nullopt;
    }
    return segment;
}

void Join(std::string& out, std::string_view value) {
    if (!out.empty()) {
        out += '.';
    }
    out += value;
}

}  // namespace

std::string PortFromLocationPath(const std::string& locationPath) {
    std::string controller;  // the PCI functions
    std::string path;        // every segment up to the root hub, for a controller off PCI
    std::string ports;
    bool pastRoot = false;
    std::string_view rest = locationPath;
    while (!rest.empty()) {
        const size_t hash = rest.find('#');
        const auto segment = ReadSegment(rest.substr(0, hash));
        rest = hash == std::string_view::npos ? std::string_view() : rest.substr(hash + 1);
        if (!segment) {
            return {};
        }
        if (!pastRoot) {
            if (segment->name == "USBROOT") {
                pastRoot = true;
            } else if (segment->name == "PCI" && AllOf(segment->value, IsHexDigit)) {
                Join(controller, segment->value);
            } else if (segment->name == "PCI") {
                return {};
            } else {
                Join(path, segment->value);
            }
            continue;
        }
        if (segment->name != "USB") {
            break;  // a composite device's interface (USBMI), or below it: the same port
        }
        if (!AllOf(segment->value, IsDigit)) {
            return {};
        }
        Join(ports, segment->value);
    }
    const std::string& host = controller.empty() ? path : controller;
    if (ports.empty() || host.empty()) {
        return {};
    }
    return host + "-" + ports;
}

std::string PortFromLocationPaths(const std::vector<std::string>& locationPaths) {
    for (const std::string& locationPath : locationPaths) {
        std::string port = PortFromLocationPath(locationPath);
        if (!port.empty()) {
            return port;
        }
    }
    return {};
}

}  // namespace tavlin
