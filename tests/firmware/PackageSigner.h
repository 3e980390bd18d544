#pragma once
// A signing key for tests, in the firmware team's file formats (the signing tool's public-key and
// signature files), made with libsodium so the tests need no signing tool.
#include <sodium.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

namespace tavlin::testing {

inline std::string Base64(const std::string& bytes) {
    std::string text(sodium_base64_encoded_len(bytes.size(), sodium_base64_VARIANT_ORIGINAL), '\0');
    sodium_bin2base64(text.data(), text.size(),
                      reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(),
                      sodium_base64_VARIANT_ORIGINAL);
    text.resize(text.size() - 1);  // the terminator
    return text;
}

class PackageSigner {
  public:
    // `idByte` makes the key id distinct among the keys of one test.
    explicit PackageSigner(std::uint8_t idByte = 1) {
        if (sodium_init() < 0) {
            throw std::runtime_error("libsodium cannot start");
        }
        crypto_sign_keypair(publicKey_.data(), secretKey_.data());
        for (std::size_t i = 0; i < keyId_.size(); ++i) {
            keyId_[i] = static_cast<std::uint8_t>(idByte + 17 * i);
        }
    }

    std::string PublicKeyFile() const {
        return "untrusted comment: test public key\n" +
               Base64("Ed" + Bytes(keyId_) + Bytes(publicKey_)) + "\n";
    }
    void WritePublicKey(const std::filesystem::path& path) const {
        std::ofstream(path, std::ios::binary) << PublicKeyFile();
    }

    // The signature file of `message` with `comment` as its trusted comment; prehashed ("ED")
    // as the tool signs by default, or the legacy form ("Ed") over the message itself.
    std::string Sign(const std::string& message, const std::string& comment,
                     bool prehashed = true) const {
        std::string signedBytes = message;
        if (prehashed) {
            std::array<std::uint8_t, 64> digest{};
            crypto_generichash(digest.data(), digest.size(),
                               reinterpret_cast<const unsigned char*>(message.data()),
                               message.size(), nullptr, 0);
            signedBytes = Bytes(digest);
        }
        const std::string signature = Detached(signedBytes);
        const std::string global = Detached(signature + comment);
        return "untrusted comment: signature from a test key\n" +
               Base64(std::string(prehashed ? "ED" : "Ed") + Bytes(keyId_) + signature) +
               "\ntrusted comment: " + comment + "\n" + Base64(global) + "\n";
    }

  private:
    template <std::size_t N>
    static std::string Bytes(const std::array<std::uint8_t, N>& bytes) {
        return std::string(reinterpret_cast<const char*>(bytes.data()), N);
    }
    std::string Detached(const std::string& message) const {
        std::array<std::uint8_t, crypto_sign_BYTES> signature{};
        crypto_sign_detached(signature.data(), nullptr,
                             reinterpret_cast<const unsigned char*>(message.data()), message.size(),
                             secretKey_.data());
        return Bytes(signature);
    }

    std::array<std::uint8_t, crypto_sign_PUBLICKEYBYTES> publicKey_{};
    std::array<std::uint8_t, crypto_sign_SECRETKEYBYTES> secretKey_{};
    std::array<std::uint8_t, 8> keyId_{};
};

}  // namespace tavlin::testing
