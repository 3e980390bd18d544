#include "records/RecordTime.h"

#include <chrono>
#include <cstdio>

namespace tavlin {

std::int64_t NowUnixMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

std::string IsoUtcFromUnixMs(std::int64_t ms) {
    // The calendar of the standard library rather than gmtime: Windows' gmtime refuses any time
    // before 1970, and a record's times are whatever the station's clock said.
    using namespace std::chrono;
    const sys_time<milliseconds> time{milliseconds(ms)};
    const sys_days day = floor<days>(time);
    const year_month_day date{day};
    const hh_mm_ss<milliseconds> clock{time - day};
    char text[64];
    std::snprintf(
        text, sizeof text, "%04d-%02u-%02uT%02d:%02d:%02d.%03dZ", static_cast<int>(date.year()),
        static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
        static_cast<int>(clock.hours().count()), static_cast<int>(clock.minutes().count()),
        static_cast<int>(clock.seconds().count()), static_cast<int>(clock.subseconds().count()));
    return text;
}

}  // namespace tavlin
