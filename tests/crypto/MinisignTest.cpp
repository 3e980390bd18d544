// The signing tool's key and signature files, read and checked through libsodium: against the
// tool itself where it is installed, and against signatures made here.
#include "crypto/Minisign.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "firmware/PackageSigner.h"

namespace tavlin {
namespace {

namespace fs = std::filesystem;
using testing::PackageSigner;

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

Result Check(const std::string& signatureText, const std::string& keyText,
             const std::string& message) {
    MinisignSignature signature;
    MinisignKey key;
    if (Result parsed = ParseMinisignKey(keyText, &key); !parsed.ok()) {
        return parsed;
    }
    if (Result parsed = ParseMinisignSignature(signatureText, &signature); !parsed.ok()) {
        return parsed;
    }
    return VerifyMinisign(signature, key, message);
}

class MinisignToolTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (std::system("command -v minisign >/dev/null 2>&1") != 0) {
            GTEST_SKIP() << "minisign is not installed";
        }
        dir = fs::temp_directory_path() / ("tavlin-minisign-" + std::to_string(::getpid()));
        fs::create_directories(dir);
    }
    void TearDown() override {
        if (!dir.empty()) {
            fs::remove_all(dir);
        }
    }
    int Tool(const std::string& arguments) {
        return std::system(
            ("cd '" + dir.string() + "' && minisign " + arguments + " </dev/null >/dev/null 2>&1")
                .c_str());
    }
    fs::path dir;
};

// The tool signs prehashed by default and in the legacy form with -l; both are taken, the key id
// is told as the tool tells it, and one changed byte of the signed file is refused.
TEST_F(MinisignToolTest, ItsSignaturesOfBothKindsVerifyAndOneChangedByteIsRefused) {
    ASSERT_EQ(Tool("-G -W -p key.pub -s key.sec"), 0);
    const std::string message = "0123456789abcdef  PKG.ini\n";
    std::ofstream(dir / "list", std::ios::binary) << message;
    const std::string keyText = ReadAll(dir / "key.pub");
    const std::string toolsId =
        keyText.substr(keyText.rfind(' ') + 1, keyText.find('\n') - keyText.rfind(' ') - 1);
    for (const bool legacy : {false, true}) {
        SCOPED_TRACE(legacy ? "legacy" : "prehashed");
        ASSERT_EQ(Tool(std::string("-S ") + (legacy ? "-l " : "") +
                       "-s key.sec -m list -t 'release 4.2 for line B'"),
                  0);
        const std::string signatureText = ReadAll(dir / "list.minisig");
        MinisignSignature signature;
        ASSERT_TRUE(ParseMinisignSignature(signatureText, &signature).ok());
        EXPECT_EQ(signature.prehashed, !legacy);
        EXPECT_EQ(signature.trustedComment, "release 4.2 for line B");
        EXPECT_EQ(MinisignKeyIdText(signature.keyId), toolsId);
        EXPECT_TRUE(Check(signatureText, keyText, message).ok());
        std::string changed = message;
        changed[3] ^= 0x01;
        EXPECT_EQ(Check(signatureText, keyText, changed).code(), ResultCode::BadInput);
    }
}

TEST(MinisignTest, SignaturesMadeHereVerifyInBothForms) {
    const PackageSigner signer;
    for (const bool prehashed : {true, false}) {
        const std::string text = signer.Sign("the list", "a comment", prehashed);
        EXPECT_TRUE(Check(text, signer.PublicKeyFile(), "the list").ok()) << prehashed;
    }
}

// Whatever is wrong, the answer is a refusal with its reason, never a pass.
TEST(MinisignTest, EveryBrokenOrForeignSignatureIsRefusedWithItsReason) {
    const PackageSigner signer(1);
    const PackageSigner other(2);
    const PackageSigner sameIdOtherKey(1);
    const std::string message = "the list\n";
    const std::string good = signer.Sign(message, "release 7");
    const std::size_t commentAt = good.find("release 7");
    std::string editedComment = good;
    editedComment.replace(commentAt, 9, "release 8");
    std::string otherAlgorithm = good;
    // "ED" in base64 starts "RU"; "EX" makes a signature of no known kind.
    otherAlgorithm.replace(good.find('\n') + 1, 3, "RVh");
    // Forty base64 digits decode whole, to 30 bytes that still start "Ed": short of a key.
    const std::string keyFile = signer.PublicKeyFile();
    const std::string shortKey = keyFile.substr(0, keyFile.find('\n') + 1 + 40) + "\n";
    struct Case {
        const char* name;
        std::string signature;
        std::string key;
        std::string message;
        const char* reason;
    };
    const Case cases[] = {
        {"empty", "", signer.PublicKeyFile(), message, "not four lines"},
        {"garbage", "\x01\x02garbage\n\n\n\n", signer.PublicKeyFile(), message, "untrusted"},
        {"truncated", good.substr(0, good.size() / 2), signer.PublicKeyFile(), message, "lines"},
        {"cut base64", good.substr(0, good.find('\n') + 30) + "\n" + good.substr(commentAt - 17),
         signer.PublicKeyFile(), message, "74 bytes"},
        {"unknown algorithm", otherAlgorithm, signer.PublicKeyFile(), message, "algorithm"},
        {"edited trusted comment", editedComment, signer.PublicKeyFile(), message,
         "trusted comment"},
        {"changed message", good, signer.PublicKeyFile(), "the list!\n", "does not match"},
        {"another key", good, other.PublicKeyFile(), message, "signed by key"},
        {"same id, another key", good, sameIdOtherKey.PublicKeyFile(), message, "does not match"},
        {"no key", good, "untrusted comment: x\n", message, "public-key"},
        {"key of garbage", good, "untrusted comment: x\n!!!!\n", message, "42 bytes"},
        {"key cut short", good, shortKey, message, "42 bytes"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Result checked = Check(c.signature, c.key, c.message);
        EXPECT_EQ(checked.code(), ResultCode::BadInput);
        EXPECT_NE(checked.reason().find(c.reason), std::string::npos) << checked.reason();
    }
}

TEST(MinisignTest, AKeyIdIsToldAsTheToolTellsIt) {
    struct Case {
        MinisignKeyId id;
        const char* text;
    };
    const Case cases[] = {
        {{0x65, 0xb5, 0xec, 0x4b, 0x58, 0x03, 0xc1, 0x05}, "5C103584BECB565"},
        {{0xee, 0x91, 0x20, 0xc1, 0x21, 0xaa, 0xd2, 0x23}, "23D2AA21C12091EE"},
        {{0, 0, 0, 0, 0, 0, 0, 0}, "0"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MinisignKeyIdText(c.id), c.text);
    }
}

}  // namespace
}  // namespace tavlin
