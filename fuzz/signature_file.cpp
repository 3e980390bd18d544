// A package's signature file, as a station reads it: no crash, and whatever parses never
// verifies against a key that did not make it.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "crypto/Minisign.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    tavlin::MinisignSignature signature;
    if (!tavlin::ParseMinisignSignature(text, &signature).ok()) {
        return 0;
    }
    // The all-zero key is no valid Ed25519 key of anyone's: nothing may verify against it.
    tavlin::MinisignKey key;
    key.keyId = signature.keyId;
    if (tavlin::VerifyMinisign(signature, key, text).ok()) {
        std::abort();
    }
    return 0;
}
