// tavlin-cli update of signed packages against the simulated device, in process: a package that
// fails its check is refused before the device hears anything.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include <gmock/gmock.h>

#include "cli/CliPackage.h"
#include "cli/CliSession.h"
#include "device/LogCapture.h"
#include "firmware/PackageSigner.h"
#include "firmware/PackageTrust.h"
#include "platform/KeyFolder.h"
#include "sim/SimTransport.h"

namespace tavlin::cli {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using ::testing::Contains;
using ::testing::HasSubstr;
using testing::PackageSigner;
using ::testing::StartsWith;

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The key folder variable, as the station's key lookup reads it (Windows: the wide environment).
void SetKeyFolderVariable(const fs::path* folder) {
#ifdef _WIN32
    const std::string name = kKeyFolderVariable;
    _wputenv_s(std::wstring(name.begin(), name.end()).c_str(),
               folder != nullptr ? folder->wstring().c_str() : L"");
#else
    if (folder != nullptr) {
        ::setenv(kKeyFolderVariable, folder->c_str(), 1);
    } else {
        ::unsetenv(kKeyFolderVariable);
    }
#endif
}

class SignedUpdateTest : public ::testing::Test {
  protected:
    SignedUpdateTest() {
        dir = fs::temp_directory_path() / ("tavlin-signed-update-" + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir / "keys");
        const fs::path keys = dir / "keys";
        SetKeyFolderVariable(&keys);
        signer.WritePublicKey(dir / "keys" / "line.pub");
        sim.setReenumerationDelay(20ms);
        sim.recorder().SetEnabled(true);
        h = std::string(700, '\x11');
        l = std::string(130, '\x22');
        Write("h.bin", h);
        Write("l.bin", l);
        // The images named by absolute paths, the list relative to the package's folder.
        Write("pkg.ini", "[Tavlin HInfo]\nImage_en=1\nImage_version=7\nImage_name=" +
                             (dir / "h.bin").string() +
                             "\n[Tavlin LInfo]\nImage_en=1\nImage_version=9\nImage_name=" +
                             (dir / "l.bin").string() + "\n");
        std::string written;
        EXPECT_TRUE(WritePackageManifest(Ini(), &written).ok());
        EXPECT_EQ(written, Ini() + ".sha256");
        SignManifest(signer, "release 1");
    }
    ~SignedUpdateTest() override {
        SetKeyFolderVariable(nullptr);
        fs::remove_all(dir);
    }

    std::string Ini() const { return (dir / "pkg.ini").string(); }
    void Write(const std::string& name, const std::string& content) {
        std::ofstream(dir / name, std::ios::binary) << content;
    }
    std::string Manifest() const { return ReadAll(dir / "pkg.ini.sha256"); }
    void SignManifest(const PackageSigner& by, const std::string& comment) {
        Write("pkg.ini.sha256.minisig", by.Sign(Manifest(), comment));
    }
    // The list as the firmware team would have signed it.
    void SignedManifest(const std::string& text) {
        Write("pkg.ini.sha256", text);
        SignManifest(signer, "release 1");
    }
    void FlipBit(const std::string& name, size_t at) {
        std::string bytes = ReadAll(dir / name);
        bytes[at] ^= 0x04;
        Write(name, bytes);
    }

    int Run(Invocation inv) {
        inv.command = Command::Update;
        inv.file = Ini();
        inv.replugTimeoutSeconds = 5;
        std::FILE* out = std::tmpfile();
        report = RunReport{};
        const int status = RunSession(inv, sim, out, 100, nullptr, out, &report);
        std::fclose(out);
        return status;
    }

    tavlin::testing::LogCapture log;
    sim::SimTransport sim;
    PackageSigner signer{1};
    fs::path dir;
    std::string h;
    std::string l;
    RunReport report;
};

TEST_F(SignedUpdateTest, ASignedPackageIsWrittenAndItsSignerAndHashesAreReported) {
    ASSERT_EQ(Run({}), kExitSuccess) << report.result.describe();
    ASSERT_TRUE(report.trust.has_value());
    EXPECT_TRUE(report.trust->isSigned);
    EXPECT_EQ(report.trust->comment, "release 1");
    EXPECT_FALSE(report.trust->keyId.empty());
    ASSERT_EQ(report.packageFiles.size(), 3u);
    EXPECT_EQ(report.packageFiles[1].size, h.size());
    ASSERT_TRUE(report.images.has_value());
    ASSERT_EQ(report.images->size(), 3u);
    EXPECT_EQ((*report.images)[0].sha256, report.packageFiles[1].sha256);
    EXPECT_EQ((*report.images)[2].sha256, report.packageFiles[2].sha256);
    EXPECT_EQ(sim.firmware().imageVersion(0), 9u);
    EXPECT_TRUE(log.Contains("signed by key " + report.trust->keyId)) << log.Text();
}

// Every way a package can differ from what its signer vouched for: refused with the file and
// what is wrong with it, and not one report reaches the device.
TEST_F(SignedUpdateTest, AnyTamperingIsRefusedBeforeTheDeviceHearsAnything) {
    const PackageSigner stranger(9);
    struct Case {
        const char* name;
        std::function<void()> tamper;
        const char* reason;
    };
    const Case cases[] = {
        {"package file bit", [&] { FlipBit("pkg.ini", 20); }, "pkg.ini: its SHA-256 is not"},
        {"HInfo image bit", [&] { FlipBit("h.bin", 699); }, "h.bin: its SHA-256 is not"},
        {"LInfo image bit", [&] { FlipBit("l.bin", 0); }, "l.bin: its SHA-256 is not"},
        {"list bit", [&] { FlipBit("pkg.ini.sha256", 3); }, "does not match the file"},
        {"list line changed",
         [&] {
             std::string text = Manifest();
             text[text.find("h.bin") - 3] ^= 0x01;
             SignedManifest(text);
         },
         "h.bin: its SHA-256 is not"},
        {"enabled image not listed",
         [&] {
             std::string text = Manifest();
             text.erase(text.find("\n", text.find("h.bin")) - 71, 72);
             SignedManifest(text);
         },
         "h.bin is not listed in"},
        {"line added unsigned", [&] { Write("pkg.ini.sha256", Manifest() + Manifest()); },
         "does not match the file"},
        {"missing file listed",
         [&] { SignedManifest(Manifest() + std::string(64, 'a') + "  gone.bin\n"); },
         "lists gone.bin, which cannot be read"},
        {"parent folder",
         [&] { SignedManifest(Manifest() + std::string(64, 'a') + "  ../h.bin\n"); },
         "leaves the package's folder"},
        {"absolute path",
         [&] { SignedManifest(Manifest() + std::string(64, 'a') + "  /etc/passwd\n"); },
         "absolute path"},
        {"untrusted key", [&] { SignManifest(stranger, "release 1"); }, "does not trust"},
        {"signature truncated",
         [&] {
             Write("pkg.ini.sha256.minisig", ReadAll(dir / "pkg.ini.sha256.minisig").substr(0, 90));
         },
         "signature file"},
        {"signature empty", [&] { Write("pkg.ini.sha256.minisig", ""); }, "not four lines"},
        {"signature garbage", [&] { Write("pkg.ini.sha256.minisig", "GIF89a\n\x01\x02\n\n\n"); },
         "untrusted comment"},
        {"trusted comment edited",
         [&] {
             std::string text = ReadAll(dir / "pkg.ini.sha256.minisig");
             text.replace(text.find("release 1"), 9, "release 2");
             Write("pkg.ini.sha256.minisig", text);
         },
         "trusted comment's signature"},
    };
    const std::string ini = ReadAll(dir / "pkg.ini");
    const std::string manifest = Manifest();
    const std::string signature = ReadAll(dir / "pkg.ini.sha256.minisig");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Write("pkg.ini", ini);
        Write("h.bin", h);
        Write("l.bin", l);
        Write("pkg.ini.sha256", manifest);
        Write("pkg.ini.sha256.minisig", signature);
        c.tamper();
        sim.recorder().Clear();
        EXPECT_EQ(Run({}), kExitFailed);
        EXPECT_EQ(report.result.code(), ResultCode::BadInput);
        EXPECT_NE(report.result.reason().find(c.reason), std::string::npos)
            << report.result.reason();
        EXPECT_TRUE(sim.recorder().outReports().empty()) << "the device was asked";
        EXPECT_FALSE(report.device.has_value());
    }
}

// Unsigned packages: taken with a warning unless the station asks for signatures, by option or
// by the policy file in its key folder.
TEST_F(SignedUpdateTest, AnUnsignedPackageIsTakenWithAWarningUnlessTheStationRequiresSignatures) {
    fs::remove(dir / "pkg.ini.sha256.minisig");
    struct Case {
        const char* name;
        bool option;
        bool policyFile;
        int status;
    };
    const Case cases[] = {
        {"taken", false, false, kExitSuccess},
        {"option", true, false, kExitFailed},
        {"policy file", false, true, kExitFailed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.policyFile) {
            Write("keys/require-signed", "");
        }
        sim.recorder().Clear();
        Invocation inv;
        inv.requireSigned = c.option;
        EXPECT_EQ(Run(inv), c.status) << report.result.describe();
        if (c.status == kExitSuccess) {
            ASSERT_TRUE(report.trust.has_value());
            EXPECT_FALSE(report.trust->isSigned);
            EXPECT_NE(report.messages.front().find("pkg.ini"), std::string::npos);
        } else {
            EXPECT_NE(report.result.reason().find("is not signed"), std::string::npos);
            EXPECT_TRUE(sim.recorder().outReports().empty());
        }
        fs::remove(dir / "keys" / "require-signed");
    }
    EXPECT_TRUE(log.Contains("is not signed!\n")) << log.Text();
}

// A key given on the command line counts as one in the key folder does.
TEST_F(SignedUpdateTest, AKeyGivenByOptionIsTrustedAndABrokenOneIsRefused) {
    fs::remove(dir / "keys" / "line.pub");
    EXPECT_EQ(Run({}), kExitFailed);
    EXPECT_TRUE(sim.recorder().outReports().empty());
    signer.WritePublicKey(dir / "given.pub");
    Invocation inv;
    inv.trustedKeys = {(dir / "given.pub").string()};
    EXPECT_EQ(Run(inv), kExitSuccess) << report.result.describe();
    Write("broken.pub", "untrusted comment: x\nnot base64\n");
    inv.trustedKeys.push_back((dir / "broken.pub").string());
    EXPECT_EQ(Run(inv), kExitFailed);
    EXPECT_NE(report.result.reason().find("broken.pub"), std::string::npos);
}

// What was checked is what is written: images replaced on disk after the check never reach
// the device.
TEST_F(SignedUpdateTest, ImagesSwappedAfterTheCheckAreNotWhatTheDeviceGets) {
    Invocation inv;
    inv.command = Command::Update;
    inv.file = Ini();
    CliOutput output(stderr);
    RunReport checked;
    ASSERT_TRUE(CheckUpdatePackage(inv, output, &checked, &inv.package).ok());
    Write("h.bin", std::string(700, '\x66'));
    Write("l.bin", std::string(130, '\x77'));
    report = checked;
    std::FILE* out = std::tmpfile();
    ASSERT_EQ(RunSession(inv, sim, out, 100, nullptr, out, &report), kExitSuccess);
    std::fclose(out);
    const auto hSent = sim.firmware().completedTransfer(1, sim::CodeTarget::Packet);
    const auto lSent = sim.firmware().completedTransfer(0, sim::CodeTarget::Packet2);
    EXPECT_EQ(std::string(hSent.bytes.begin(), hSent.bytes.begin() + h.size()), h);
    EXPECT_EQ(std::string(lSent.bytes.begin(), lSent.bytes.begin() + l.size()), l);
    ASSERT_TRUE(report.trust.has_value());
    EXPECT_TRUE(report.trust->isSigned);
}

// A refusal reaches the people at the station with the window's text for its kind and the
// reason, not only in the run's result.
TEST_F(SignedUpdateTest, ARefusalIsToldWithTheTextOfItsKind) {
    struct Case {
        const char* name;
        std::function<void()> spoil;
        bool requireSigned;
        const char* told;
    };
    const Case cases[] = {
        {"tampered image", [&] { FlipBit("h.bin", 3); }, false, "tavlin-cli: 固件包校验失败: "},
        {"unsigned where signatures are required",
         [&] { fs::remove(dir / "pkg.ini.sha256.minisig"); }, true,
         "tavlin-cli: 本工位只接受签名的固件包: "},
        {"image missing", [&] { fs::remove(dir / "l.bin"); }, false,
         "打开文件失败,请确认配置文件中的.bin文件在当前目录!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.spoil();
        Invocation inv;
        inv.requireSigned = c.requireSigned;
        EXPECT_EQ(Run(inv), kExitFailed);
        EXPECT_THAT(report.messages, Contains(StartsWith(c.told)));
        EXPECT_THAT(report.messages, Contains(HasSubstr(report.result.reason())));
        Write("h.bin", h);
        Write("l.bin", l);
        SignManifest(signer, "release 1");
    }
}

// `package manifest` and `package verify` tell what they did, or why not, on the people's
// stream.
TEST_F(SignedUpdateTest, PackageCommandsTellTheirOutcome) {
    struct Case {
        const char* name;
        Command command;
        std::string file;
        int status;
        std::string told;
    };
    const Case cases[] = {
        {"manifest written", Command::PackageManifest, Ini(), kExitSuccess,
         "已写入 " + Ini() + ".sha256"},
        {"manifest of a missing package", Command::PackageManifest, (dir / "gone.ini").string(),
         kExitFailed, "tavlin-cli: "},
        {"verified", Command::PackageVerify, Ini(), kExitSuccess, "固件包校验通过: 签名密钥 "},
        {"verify of a missing package", Command::PackageVerify, (dir / "gone.ini").string(),
         kExitFailed, "配置文件不正确，请重新打开!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Invocation inv;
        inv.command = c.command;
        inv.file = c.file;
        std::FILE* out = std::tmpfile();
        CliOutput output(out);
        report = RunReport{};
        EXPECT_EQ(RunPackage(inv, output, &report), c.status) << report.result.describe();
        std::fclose(out);
        EXPECT_THAT(report.messages, Contains(StartsWith(c.told)));
        if (c.status == kExitFailed) {
            EXPECT_THAT(report.messages, Contains(HasSubstr(report.result.reason())));
        }
    }
}

}  // namespace
}  // namespace tavlin::cli
