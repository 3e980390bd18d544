#include "crypto/Sha256.h"

#include <sodium.h>

#include <array>
#include <cstdio>

#include "platform/RegularFile.h"

namespace tavlin {
namespace {

std::string Hex(const unsigned char (&digest)[crypto_hash_sha256_BYTES]) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    text.reserve(2 * sizeof digest);
    for (unsigned char byte : digest) {
        text += kDigits[byte >> 4];
        text += kDigits[byte & 0x0f];
    }
    return text;
}

}  // namespace

std::string Sha256Hex(const void* data, std::size_t size) {
    unsigned char digest[crypto_hash_sha256_BYTES];
    crypto_hash_sha256(digest, static_cast<const unsigned char*>(data), size);
    return Hex(digest);
}

Result Sha256OfFile(const std::string& path, std::string* hex, std::int64_t* size) {
    // Only a regular file: a FIFO would wait for a writer for ever, a folder reads as empty.
    RegularFile opened = OpenRegularFile(path, "rb");
    if (!opened) {
        return Result::Fail(ResultCode::IoError, path + ": " + RegularFileProblem(opened));
    }
    crypto_hash_sha256_state state;
    crypto_hash_sha256_init(&state);
    std::array<unsigned char, 1 << 16> piece;
    std::int64_t total = 0;
    std::size_t got = 0;
    while ((got = std::fread(piece.data(), 1, piece.size(), opened.file)) > 0) {
        crypto_hash_sha256_update(&state, piece.data(), got);
        total += static_cast<std::int64_t>(got);
    }
    const bool failed = std::ferror(opened.file) != 0;
    std::fclose(opened.file);
    if (failed) {
        return Result::Fail(ResultCode::IoError, "cannot read " + path);
    }
    unsigned char digest[crypto_hash_sha256_BYTES];
    crypto_hash_sha256_final(&state, digest);
    *hex = Hex(digest);
    *size = total;
    return Result::Ok();
}

}  // namespace tavlin
