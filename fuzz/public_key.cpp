// A trusted public-key file, as a station reads its key folder: no crash, and a key it takes
// has its id told as 1 to 16 upper-case hex digits.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "crypto/Minisign.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    tavlin::MinisignKey key;
    if (!tavlin::ParseMinisignKey(text, &key).ok()) {
        return 0;
    }
    const std::string id = tavlin::MinisignKeyIdText(key.keyId);
    if (id.empty() || id.size() > 16 ||
        id.find_first_not_of("0123456789ABCDEF") != std::string::npos) {
        std::abort();
    }
    return 0;
}
