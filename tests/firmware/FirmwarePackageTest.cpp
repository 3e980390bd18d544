#include <gtest/gtest.h>

#include <unistd.h>
#include <filesystem>
#include <fstream>

#include "base/Log.h"
#include "firmware/FirmwarePackage.h"
#include "firmware/FirmwareSession.h"
#include "firmware/UpdatePlan.h"
#include "firmware/VersionInfoRecord.h"

namespace tavlin {
namespace {

class PackageFileTest : public ::testing::Test {
  protected:
    PackageFileTest() {
        dir = std::filesystem::temp_directory_path() /
              ("tavlin-package-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir);
        previous = std::filesystem::current_path();
        std::filesystem::current_path(dir);
    }
    ~PackageFileTest() override {
        std::filesystem::current_path(previous);
        std::filesystem::remove_all(dir);
    }
    std::string Write(const std::string& name, const std::string& text) {
        std::ofstream(dir / name, std::ios::binary) << text;
        return (dir / name).string();
    }
    std::filesystem::path dir, previous;
};

TEST_F(PackageFileTest, EnableKeysCountOnlyTheirLowEightBits) {
    const auto p = Write("p.ini",
                         "[tavlin hinfo]\nImage_en=257\n[Tavlin LInfo]\nImage_en=511\n"
                         "[Tavlin RInfo]\nImage_en=256\n");
    const ImageEnables e = ReadImageEnables(p);
    EXPECT_EQ(e.value, (std::array<uint8_t, 3>{1, 255, 0}));
    EXPECT_EQ(JudgePackage(e), PackageVerdict::Write);
    EXPECT_EQ(JudgePackage(ReadImageEnables(Write("q.ini", "[Tavlin LInfo]\nImage_en=0\n"))),
              PackageVerdict::NothingEnabled);
    EXPECT_EQ(JudgePackage(ReadImageEnables((dir / "missing.ini").string())),
              PackageVerdict::Refused);
    // An empty value is no value: such a package is not correct, rather than one with nothing
    // to update.
    EXPECT_EQ(JudgePackage(ReadImageEnables(
                  Write("e.ini", "[Tavlin HInfo]\nImage_en=\n[Tavlin LInfo]\nImage_en=\n"))),
              PackageVerdict::Refused);
}

TEST_F(PackageFileTest, NamesAndVersionsAreReadAsWritten) {
    const auto p = Write("p.ini",
                         "[Tavlin LInfo]\nImage_en=1\nImage_version=305419896\n"
                         "Image_name=sub/dir/l.bin\n");
    EXPECT_EQ(ReadImageVersion(p, PackageSection::LInfo), 305419896u);
    EXPECT_EQ(ReadImageName(p, PackageSection::LInfo), "sub/dir/l.bin");
    EXPECT_EQ(ReadImageVersion(p, PackageSection::RInfo), 0u);
    const auto q = Write("q.ini", "[Tavlin HInfo]\nImage_name=" + std::string(400, 'x') + "\n");
    EXPECT_EQ(ReadImageName(q, PackageSection::HInfo).size(), 255u);
    // 255 bytes would end inside the 85th U+56FA: the name keeps 84 of them whole.
    std::string chinese;
    for (int i = 0; i < 100; ++i) {
        chinese += "\xE5\x9B\xBA";
    }
    const auto r = Write("r.ini", "[Tavlin HInfo]\nImage_name=a" + chinese + "\n");
    EXPECT_EQ(ReadImageName(r, PackageSection::HInfo), "a" + chinese.substr(0, 84 * 3));
}

TEST_F(PackageFileTest, APackageSavedAsUnicodeByNotepadIsRead) {
    // UTF-16LE with its mark: "[Tavlin LInfo]\r\nImage_en=1\r\nImage_name=\u56FA.bin\r\n".
    static const char kBytes[] =
        "\xFF\xFE[\0T\0a\0v\0l\0i\0n\0 \0L\0I\0n\0f\0o\0]\0\r\0\n\0"
        "I\0m\0a\0g\0e\0_\0e\0n\0=\0"
        "1\0\r\0\n\0"
        "I\0m\0a\0g\0e\0_\0n\0a\0m\0e\0=\0\xFA\x56.\0"
        "b\0i\0n\0\r\0\n\0";
    const auto p = Write("unicode.ini", std::string(kBytes, sizeof kBytes - 1));
    const ImageEnables e = ReadImageEnables(p);
    EXPECT_EQ(e.value, (std::array<uint8_t, 3>{255, 1, 255}));
    EXPECT_EQ(JudgePackage(e), PackageVerdict::Write);
    EXPECT_EQ(ReadImageName(p, PackageSection::LInfo), "\xE5\x9B\xBA.bin");
}

TEST_F(PackageFileTest, StartDirectoriesComeFromOpenFileIniInTheCurrentDirectory) {
    EXPECT_EQ(ReadStartDirectory("Image"), "");  // no OpenFile.ini: no error, no directory
    Write("OpenFile.ini", "[Image]\nFileDir=/pkg\n[FPGA]\nFileDir=" + std::string(200, 'f') +
                              "\n[SCRIPT]\nFileDir=/scripts\n");
    EXPECT_EQ(ReadStartDirectory("Image"), "/pkg");
    EXPECT_EQ(ReadStartDirectory("SCRIPT"), "/scripts");
    EXPECT_EQ(ReadStartDirectory("FPGA").size(), 127u);
    // A start directory of Chinese names is not cut in the middle of a character.
    std::string dir = "/";
    for (int i = 0; i < 60; ++i) {
        dir += "\xE5\x9B\xBA";
    }
    Write("OpenFile.ini", "[SCRIPT]\nFileDir=" + dir + "\n");
    EXPECT_EQ(ReadStartDirectory("SCRIPT"), dir);
}

TEST_F(PackageFileTest, TheChoiceLogLineCutsALongDirectory) {
    SetLogFilePath((dir / "log.txt").string());
    FirmwareSession::LogPackageChoice(std::string(5000, 'd'));
    std::ifstream in(dir / "log.txt");
    const std::string log((std::istreambuf_iterator<char>(in)), {});
    EXPECT_NE(log.find("Update FW: openfile dir:ddd"), std::string::npos);
    EXPECT_LE(log.size(), kLogBufferSize);
    SetLogFilePath("");
}

TEST(UpdatePlanTest, TheBarIsSharedAmongTheEnabledImagesAndEndsAtAHundred) {
    auto plan = [](std::array<uint8_t, 3> v) {
        std::vector<std::pair<int, int>> out;
        for (const auto& p : PlanUpdate(ImageEnables{v})) {
            out.emplace_back(p.base, p.span);
        }
        return out;
    };
    using V = std::vector<std::pair<int, int>>;
    EXPECT_EQ(plan({1, 1, 1}), (V{{0, 25}, {25, 25}, {50, 25}, {75, 25}}));
    EXPECT_EQ(plan({1, 1, 0}), (V{{0, 33}, {33, 33}, {66, 34}}));
    EXPECT_EQ(plan({1, 0, 1}), (V{{0, 33}, {33, 33}, {66, 34}}));
    EXPECT_EQ(plan({1, 255, 0}), (V{{0, 50}, {50, 50}}));
    EXPECT_EQ(plan({0, 1, 1}), (V{{0, 50}, {50, 50}}));
    EXPECT_EQ(plan({0, 0, 1}), (V{{0, 100}}));
    const auto writes = PlanUpdate(ImageEnables{{1, 1, 1}});
    EXPECT_EQ(SensorOf(writes[1].write), 1);
    EXPECT_EQ(SectionOf(writes[1].write), PackageSection::HInfo);
    EXPECT_EQ(SensorOf(writes[2].write), 0);
}

TEST(UpdatePlanTest, PositionsRunFromBaseToBasePlusSpan) {
    const PlannedWrite w{ImageWrite::LInfo, 66, 34};
    EXPECT_EQ(ProgressPosition(w, 0, 520), 66);
    EXPECT_EQ(ProgressPosition(w, 260, 520), 83);
    EXPECT_EQ(ProgressPosition(w, 520, 520), 100);
    EXPECT_EQ(ProgressPosition(w, 0, 0), 100);  // a single packet image
}

TEST(VersionInfoRecordTest, ImageAndFixedRecordsDifferOnlyWhereTheyShould) {
    const VersionInfoRecord r = ImageVersionInfoRecord(0x01020304);
    const VersionInfoRecord expected = {0x41, 0x47, 0x50, 0x46, 1,    0,    0x11, 0x11, 0x11, 0x11,
                                        0x04, 0x03, 0x02, 0x01, 0,    0,    0,    0,    0x00, 0x7E,
                                        0,    0,    0x22, 0x22, 0x22, 0x22, 1,    0,    0,    0,
                                        0x00, 0x80, 0,    0,    0x00, 0x7E, 0,    0};
    EXPECT_EQ(r, expected);
    VersionInfoRecord fixed = expected;
    fixed[10] = 1, fixed[11] = fixed[12] = fixed[13] = 0;
    fixed[22] = fixed[23] = fixed[24] = fixed[25] = 0x11;
    fixed[31] = 0;
    EXPECT_EQ(FixedVersionInfoRecord(), fixed);
}

}  // namespace
}  // namespace tavlin
