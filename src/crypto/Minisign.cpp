#include "crypto/Minisign.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <vector>

namespace tavlin {
namespace {

constexpr std::string_view kUntrusted = "untrusted comment:";
constexpr std::string_view kTrusted = "trusted comment: ";
constexpr std::size_t kKeyBytes = 2 + 8 + kEd25519PublicKeyBytes;
constexpr std::size_t kSignatureBytes = 2 + 8 + kEd25519SignatureBytes;

// The text's lines without their ends (LF or CR LF); a last line without an end counts too.
std::vector<std::string_view> Lines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        lines.push_back(line);
        if (end == std::string_view::npos) {
            break;
        }
        text.remove_prefix(end + 1);
    }
    return lines;
}

Result Refuse(const std::string& why) {
    return Result::Fail(ResultCode::BadInput, why);
}

template <std::size_t N>
void Take(const std::string& bytes, std::size_t at, std::array<std::uint8_t, N>* out) {
    std::memcpy(out->data(), bytes.data() + at, N);
}

}  // namespace

Result ParseMinisignKey(std::string_view text, MinisignKey* out) {
    const std::vector<std::string_view> lines = Lines(text);
    if (lines.size() < 2 || !lines[0].starts_with(kUntrusted)) {
        return Refuse("not a public-key file (no untrusted comment line, then the key)");
    }
    if (std::any_of(lines.begin() + 2, lines.end(), [](auto l) { return !l.empty(); })) {
        return Refuse("public-key file: text after the key");
    }
    const std::optional<std::string> bytes = Base64Decode(lines[1]);
    if (!bytes || bytes->size() != kKeyBytes) {
        return Refuse("public-key file: the key line is not the base64 of 42 bytes");
    }
    if (bytes->compare(0, 2, "Ed") != 0) {
        return Refuse("public-key file: not an Ed25519 key");
    }
    Take(*bytes, 2, &out->keyId);
    Take(*bytes, 10, &out->publicKey);
    return Result::Ok();
}

Result ParseMinisignSignature(std::string_view text, MinisignSignature* out) {
    std::vector<std::string_view> lines = Lines(text);
    while (lines.size() > 4 && lines.back().empty()) {
        lines.pop_back();
    }
    if (lines.size() != 4) {
        return Refuse("signature file: not four lines");
    }
    if (!lines[0].starts_with(kUntrusted)) {
        return Refuse("signature file: no untrusted comment line");
    }
    const std::optional<std::string> bytes = Base64Decode(lines[1]);
    if (!bytes || bytes->size() != kSignatureBytes) {
        return Refuse("signature file: the signature line is not the base64 of 74 bytes");
    }
    if (bytes->compare(0, 2, "Ed") == 0) {
        out->prehashed = false;
    } else if (bytes->compare(0, 2, "ED") == 0) {
        out->prehashed = true;
    } else {
        return Refuse("signature file: unknown signature algorithm");
    }
    Take(*bytes, 2, &out->keyId);
    Take(*bytes, 10, &out->signature);
    if (!lines[2].starts_with(kTrusted)) {
        return Refuse("signature file: no trusted comment line");
    }
    out->trustedComment = std::string(lines[2].substr(kTrusted.size()));
    const std::optional<std::string> global = Base64Decode(lines[3]);
    if (!global || global->size() != kEd25519SignatureBytes) {
        return Refuse("signature file: the comment signature is not the base64 of 64 bytes");
    }
    Take(*global, 0, &out->globalSignature);
    return Result::Ok();
}

Result VerifyMinisign(const MinisignSignature& signature, const MinisignKey& key,
                      std::string_view message) {
    if (signature.keyId != key.keyId) {
        return Result::Fail(ResultCode::BadInput,
                            "signed by key " + MinisignKeyIdText(signature.keyId) +
                                ", not by key " + MinisignKeyIdText(key.keyId));
    }
    bool valid = false;
    if (signature.prehashed) {
        const auto digest = Blake2b512(message);
        valid = Ed25519Verify(
            signature.signature,
            std::string_view(reinterpret_cast<const char*>(digest.data()), digest.size()),
            key.publicKey);
    } else {
        valid = Ed25519Verify(signature.signature, message, key.publicKey);
    }
    if (!valid) {
        return Result::Fail(ResultCode::BadInput, "the signature does not match the file");
    }
    std::string signedComment(reinterpret_cast<const char*>(signature.signature.data()),
                              signature.signature.size());
    signedComment += signature.trustedComment;
    if (!Ed25519Verify(signature.globalSignature, signedComment, key.publicKey)) {
        return Result::Fail(ResultCode::BadInput, "the trusted comment's signature does not match");
    }
    return Result::Ok();
}

std::string MinisignKeyIdText(const MinisignKeyId& keyId) {
    std::uint64_t number = 0;
    for (std::size_t i = keyId.size(); i-- > 0;) {
        number = number << 8 | keyId[i];
    }
    char text[17];
    std::snprintf(text, sizeof text, "%" PRIX64, number);
    return text;
}

}  // namespace tavlin
