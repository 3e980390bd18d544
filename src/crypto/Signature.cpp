#include "crypto/Signature.h"

#include <sodium.h>

namespace tavlin {
namespace {

// sodium_init is idempotent and thread-safe; it picks the fastest implementations.
bool SodiumReady() {
    static const bool ready = sodium_init() >= 0;
    return ready;
}

}  // namespace

bool Ed25519Verify(const std::array<std::uint8_t, kEd25519SignatureBytes>& signature,
                   std::string_view message,
                   const std::array<std::uint8_t, kEd25519PublicKeyBytes>& publicKey) {
    static_assert(kEd25519SignatureBytes == crypto_sign_BYTES);
    static_assert(kEd25519PublicKeyBytes == crypto_sign_PUBLICKEYBYTES);
    if (!SodiumReady()) {
        return false;
    }
    return crypto_sign_verify_detached(signature.data(),
                                       reinterpret_cast<const unsigned char*>(message.data()),
                                       message.size(), publicKey.data()) == 0;
}

std::array<std::uint8_t, kBlake2b512Bytes> Blake2b512(std::string_view bytes) {
    static_assert(kBlake2b512Bytes <= crypto_generichash_BYTES_MAX);
    SodiumReady();
    std::array<std::uint8_t, kBlake2b512Bytes> digest{};
    crypto_generichash(digest.data(), digest.size(),
                       reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), nullptr,
                       0);
    return digest;
}

std::optional<std::string> Base64Decode(std::string_view text) {
    if (!SodiumReady()) {
        return std::nullopt;
    }
    std::string bytes(text.size() / 4 * 3 + 3, '\0');
    std::size_t length = 0;
    const char* end = nullptr;
    if (sodium_base642bin(reinterpret_cast<unsigned char*>(bytes.data()), bytes.size(), text.data(),
                          text.size(), nullptr, &length, &end,
                          sodium_base64_VARIANT_ORIGINAL) != 0 ||
        end != text.data() + text.size()) {
        return std::nullopt;
    }
    bytes.resize(length);
    return bytes;
}

}  // namespace tavlin
