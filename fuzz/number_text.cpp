// Number parsing as typed into the register panel: no crash, and a number it accepts prints
// back to the same value.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "console/NumberText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    uint32_t value = 0xA5A5A5A5;
    if (!tavlin::StrToIntEx(text, &value)) {
        if (value != 0xA5A5A5A5) {
            std::abort();  // a refusal must leave the value alone
        }
        return 0;
    }
    char hex[16];
    std::snprintf(hex, sizeof hex, "0x%x", value);
    uint32_t again = 0;
    if (!tavlin::StrToIntEx(hex, &again) || again != value) {
        std::abort();
    }
    return 0;
}
