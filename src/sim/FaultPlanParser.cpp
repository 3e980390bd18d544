#include "sim/FaultPlanParser.h"

#include <charconv>
#include <cstdint>

namespace tavlin::sim {
namespace {

std::optional<uint64_t> Number(std::string_view s, uint64_t max) {
    int base = 10;
    if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
        s.remove_prefix(2);
        base = 16;
    }
    uint64_t value = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value, base);
    if (s.empty() || ec != std::errc() || end != s.data() + s.size() || value > max) {
        return std::nullopt;
    }
    return value;
}

std::optional<std::chrono::microseconds> Duration(std::string_view s) {
    uint64_t scale = 1000;  // a bare number is milliseconds
    for (const auto& [suffix, us] :
         {std::pair<std::string_view, uint64_t>{"us", 1}, {"ms", 1000}, {"s", 1000000}}) {
        if (s.size() > suffix.size() && s.substr(s.size() - suffix.size()) == suffix) {
            s.remove_suffix(suffix.size());
            scale = us;
            break;
        }
    }
    const auto n = Number(s, 3600ull * 1000000);
    if (!n) {
        return std::nullopt;
    }
    return std::chrono::microseconds(*n * scale);
}

std::string Lower(std::string_view s) {
    std::string lower(s);
    for (char& ch : lower) {
        if (ch >= 'A' && ch <= 'Z') {
            ch = static_cast<char>(ch - 'A' + 'a');
        }
    }
    return lower;
}

// An image by its number in the update (1 to 4) or its name; -1 when neither.
int ImageNamed(std::string_view s) {
    const std::string name = Lower(s);
    const std::pair<const char*, int> names[] = {
        {"hinfo", 0}, {"hinfo-l", 0}, {"hinfo-r", 1}, {"linfo", 2}, {"rinfo", 3}};
    for (const auto& [n, image] : names) {
        if (name == n) {
            return image;
        }
    }
    const auto number = Number(s, kImageCount);
    return number && *number >= 1 ? static_cast<int>(*number - 1) : -1;
}

// powercut-after=N[@DUR] and powercut-at=WHERE[@DUR].
std::optional<std::string> ApplyPowerCut(std::string_view key, std::string_view value,
                                         FaultSettings* s) {
    if (s->powerCut) {
        return "one power cut per plan";
    }
    PowerCut cut;
    const size_t at = value.find('@');
    if (at != std::string_view::npos) {
        const auto off = Duration(value.substr(at + 1));
        if (!off) {
            return "expected the time the power stays off after @, for example @1s";
        }
        cut.off = std::chrono::duration_cast<std::chrono::milliseconds>(*off);
        value = value.substr(0, at);
    }
    if (key == "powercut-after") {
        const auto n = Number(value, UINT64_MAX);
        if (!n) {
            return "expected a count of firmware-write packets";
        }
        cut.at = PowerCut::At::PacketCount;
        cut.packets = *n;
    } else if (Lower(value) == "restart-in" || Lower(value) == "restart-out") {
        cut.at = Lower(value) == "restart-in" ? PowerCut::At::RestartIn : PowerCut::At::RestartOut;
    } else {
        const size_t colon = value.find(':');
        const int image = colon == std::string_view::npos ? -1 : ImageNamed(value.substr(0, colon));
        const std::string_view what =
            colon == std::string_view::npos ? std::string_view() : value.substr(colon + 1);
        const auto packet = Number(what, UINT64_MAX);
        if (image < 0 || (Lower(what) != "version" && (!packet || *packet == 0))) {
            return "expected IMAGE:PACKET, IMAGE:version, restart-in or restart-out (IMAGE: 1 to "
                   "4, HInfo, HInfo-R, LInfo or RInfo; PACKET from 1)";
        }
        cut.image = image;
        if (packet) {
            cut.at = PowerCut::At::Packet;
            cut.packets = *packet;
        } else {
            cut.at = PowerCut::At::VersionWrite;
        }
    }
    s->powerCut = cut;
    return std::nullopt;
}

// Applies one key=value item; returns the reason when it is bad.
std::optional<std::string> Apply(std::string_view key, std::string_view value, FaultSettings* s) {
    const auto code = [&]() { return Number(value, 0xFF); };
    const auto count = [&]() { return Number(value, UINT64_MAX); };
    if (key == "latency") {
        const auto d = Duration(value);
        if (!d) {
            return "expected a duration such as 1ms, 250us or 2s";
        }
        s->latency = *d;
    } else if (key == "noreply" || key == "refuse" || key == "unplug-at" || key == "throw-at") {
        const auto c = code();
        if (!c) {
            return "expected a command byte 0..0xFF";
        }
        const auto b = static_cast<uint8_t>(*c);
        if (key == "noreply") {
            s->noReplyCodes.insert(b);
        } else if (key == "refuse") {
            s->refuseCodes.insert(b);
        } else if (key == "throw-at") {
            s->throwAt = b;
        } else {
            s->unplugAt = b;
        }
    } else if (key == "noreply-from" || key == "refuse-from" || key == "unplug-after") {
        const auto n = count();
        if (!n || (*n == 0 && key != "unplug-after")) {
            return "expected a report count";
        }
        (key == "noreply-from"  ? s->noReplyFrom
         : key == "refuse-from" ? s->refuseFrom
                                : s->unplugAfter) = *n;
    } else if (key == "foreign") {
        const auto n = count();
        if (!n || *n == 0) {
            return "expected a report number from 1";
        }
        s->foreignBefore.insert(*n);
    } else if (key == "replug") {
        const size_t at = value.find('@');
        const auto pid = Number(value.substr(0, at), 0xFFFF);
        const auto d = at == std::string_view::npos ? std::nullopt : Duration(value.substr(at + 1));
        if (!pid || !d) {
            return "expected PRODUCT_ID@DELAY, for example 0x42@500ms";
        }
        s->replug = Replug{static_cast<uint16_t>(*pid),
                           std::chrono::duration_cast<std::chrono::milliseconds>(*d)};
    } else if (key == "move-port") {
        if (value.empty()) {
            return "expected the port the device comes back on";
        }
        s->movePort = std::string(value);
    } else if (key == "notices") {
        if (value != "on" && value != "off") {
            return "expected on or off";
        }
        s->noNotices = value == "off";
    } else if (key == "powercut-after" || key == "powercut-at") {
        return ApplyPowerCut(key, value, s);
    } else {
        return "unknown fault; known: latency, noreply, refuse, noreply-from, refuse-from, "
               "unplug-at, unplug-after, foreign, replug, throw-at, move-port, notices, "
               "powercut-after, powercut-at";
    }
    return std::nullopt;
}

}  // namespace

std::optional<FaultSettings> ParseFaultPlan(std::string_view text, std::string* error) {
    FaultSettings settings;
    while (!text.empty()) {
        const size_t comma = text.find(',');
        const std::string_view item = text.substr(0, comma);
        text = comma == std::string_view::npos ? std::string_view() : text.substr(comma + 1);
        if (item.empty()) {
            continue;
        }
        const size_t eq = item.find('=');
        std::optional<std::string> reason =
            eq == std::string_view::npos
                ? std::optional<std::string>("expected key=value")
                : Apply(item.substr(0, eq), item.substr(eq + 1), &settings);
        if (reason) {
            if (error != nullptr) {
                *error = "--sim-faults: '" + std::string(item) + "': " + *reason;
            }
            return std::nullopt;
        }
    }
    return settings;
}

}  // namespace tavlin::sim
