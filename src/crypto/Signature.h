#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tavlin {

inline constexpr std::size_t kEd25519PublicKeyBytes = 32;
inline constexpr std::size_t kEd25519SignatureBytes = 64;
inline constexpr std::size_t kBlake2b512Bytes = 64;

// Whether `signature` is a valid Ed25519 signature of `message` by `publicKey` (libsodium's
// detached verification).
bool Ed25519Verify(const std::array<std::uint8_t, kEd25519SignatureBytes>& signature,
                   std::string_view message,
                   const std::array<std::uint8_t, kEd25519PublicKeyBytes>& publicKey);

// BLAKE2b with its full 64-byte output and no key.
std::array<std::uint8_t, kBlake2b512Bytes> Blake2b512(std::string_view bytes);

// Standard base64 (with padding, no line breaks, no blanks) to bytes; nothing when the text is
// not exactly that.
std::optional<std::string> Base64Decode(std::string_view text);

}  // namespace tavlin
