#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/Result.h"
#include "crypto/Signature.h"

namespace tavlin {

// The public-key and signature files of the firmware team's signing tool (minisign): text
// files of base64 lines behind comment lines. Parsing checks the form only; Verify checks the
// cryptography.

using MinisignKeyId = std::array<std::uint8_t, 8>;

struct MinisignKey {
    MinisignKeyId keyId{};
    std::array<std::uint8_t, kEd25519PublicKeyBytes> publicKey{};
};

struct MinisignSignature {
    bool prehashed = false;  // "ED": the signature is over BLAKE2b-512 of the file
    MinisignKeyId keyId{};
    std::array<std::uint8_t, kEd25519SignatureBytes> signature{};
    std::string trustedComment;  // the text after "trusted comment: "
    std::array<std::uint8_t, kEd25519SignatureBytes> globalSignature{};
};

// "untrusted comment: ..." then the base64 of "Ed", the key id and the public key. BadInput with
// the reason when the text is anything else.
Result ParseMinisignKey(std::string_view text, MinisignKey* out);

// Four lines: the untrusted comment, the base64 of the algorithm ("Ed" or "ED"), the key id and
// the signature, "trusted comment: ...", the base64 of the signature over the signature and the
// trusted comment. BadInput with the reason when the text is anything else.
Result ParseMinisignSignature(std::string_view text, MinisignSignature* out);

// Whether `signature` signs `message` with `key`: the key ids match, the signature is valid for
// its algorithm, and so is the signature over the trusted comment. Refused with the reason.
Result VerifyMinisign(const MinisignSignature& signature, const MinisignKey& key,
                      std::string_view message);

// The key id as the signing tool prints it: the little-endian number in upper-case hex,
// without leading zeros.
std::string MinisignKeyIdText(const MinisignKeyId& keyId);

}  // namespace tavlin
