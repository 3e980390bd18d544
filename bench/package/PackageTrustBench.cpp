// Checking a signed 10 MB package before an update: reading the package file and its three
// images (HInfo 4 MB, LInfo 3 MB, RInfo 3 MB) into memory, hashing each, verifying the
// signature of its list and comparing the list with the files. A station checks a package on
// every run; it must stay far below what a person notices (the goal: under 50 ms).
#include <benchmark/benchmark.h>
#include <sodium.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "firmware/PackageTrust.h"

namespace tavlin {
namespace {

namespace fs = std::filesystem;

std::string Base64(const std::string& bytes) {
    std::string text(sodium_base64_encoded_len(bytes.size(), sodium_base64_VARIANT_ORIGINAL), '\0');
    sodium_bin2base64(text.data(), text.size(),
                      reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(),
                      sodium_base64_VARIANT_ORIGINAL);
    text.resize(text.size() - 1);
    return text;
}

// The package in a folder of its own, signed (prehashed) by a key made for the run.
class SignedPackage {
  public:
    SignedPackage()
        : dir_(fs::temp_directory_path() / ("tavlin-trust-bench-" + std::to_string(::getpid()))) {
        fs::create_directories(dir_);
        std::string ini;
        const char* sections[] = {"Tavlin HInfo", "Tavlin LInfo", "Tavlin RInfo"};
        const size_t sizes[] = {4'000'000, 3'000'000, 3'000'000};
        for (int i = 0; i < 3; ++i) {
            const std::string name = "image" + std::to_string(i) + ".bin";
            std::string bytes(sizes[i], '\0');
            randombytes_buf(bytes.data(), bytes.size());
            std::ofstream(dir_ / name, std::ios::binary) << bytes;
            ini += "[" + std::string(sections[i]) +
                   "]\nImage_en=1\nImage_version=1\nImage_name=" + (dir_ / name).string() + "\n";
        }
        std::ofstream(dir_ / "pkg.ini", std::ios::binary) << ini;
        std::string manifestPath;
        if (!WritePackageManifest(Ini(), &manifestPath).ok()) {
            throw std::runtime_error("no manifest");
        }
        std::ifstream in(manifestPath, std::ios::binary);
        std::stringstream manifest;
        manifest << in.rdbuf();

        unsigned char pk[crypto_sign_PUBLICKEYBYTES], sk[crypto_sign_SECRETKEYBYTES];
        crypto_sign_keypair(pk, sk);
        const std::string id("\x01\x02\x03\x04\x05\x06\x07\x08", 8);
        unsigned char digest[64];
        const std::string text = manifest.str();
        crypto_generichash(digest, sizeof digest,
                           reinterpret_cast<const unsigned char*>(text.data()), text.size(),
                           nullptr, 0);
        unsigned char signature[64], global[64];
        crypto_sign_detached(signature, nullptr, digest, sizeof digest, sk);
        const std::string comment = "bench";
        const std::string signedComment =
            std::string(reinterpret_cast<char*>(signature), 64) + comment;
        crypto_sign_detached(global, nullptr,
                             reinterpret_cast<const unsigned char*>(signedComment.data()),
                             signedComment.size(), sk);
        std::ofstream(dir_ / "pkg.ini.sha256.minisig", std::ios::binary)
            << "untrusted comment: bench\n"
            << Base64("ED" + id + std::string(reinterpret_cast<char*>(signature), 64))
            << "\ntrusted comment: " << comment << "\n"
            << Base64(std::string(reinterpret_cast<char*>(global), 64)) << "\n";
        std::ofstream(dir_ / "key.pub", std::ios::binary)
            << "untrusted comment: bench\n"
            << Base64("Ed" + id + std::string(reinterpret_cast<char*>(pk), 32)) << "\n";
    }
    ~SignedPackage() { fs::remove_all(dir_); }
    std::string Ini() const { return (dir_ / "pkg.ini").string(); }
    std::string Key() const { return (dir_ / "key.pub").string(); }

  private:
    fs::path dir_;
};

void BM_CheckSignedTenMegabytePackage(benchmark::State& state) {
    if (sodium_init() < 0) {
        state.SkipWithError("libsodium cannot start");
        return;
    }
    const SignedPackage package;
    const TrustSettings settings{{package.Key()}, {}, true};
    for (auto _ : state) {
        CheckedPackage checked;
        const char* statusText = nullptr;
        if (!CheckPackageTrust(package.Ini(), settings, &checked, &statusText).ok()) {
            state.SkipWithError("the package was refused");
            return;
        }
        benchmark::DoNotOptimize(checked.files.data());
    }
    state.SetBytesProcessed(state.iterations() * 10'000'000);
}
BENCHMARK(BM_CheckSignedTenMegabytePackage)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace tavlin
