#include "platform/PrivateProfile.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace tavlin {
namespace {

class PrivateProfileTest : public ::testing::Test {
  protected:
    std::string Write(const std::string& text) {
        path_ = (std::filesystem::temp_directory_path() /
                 ("tavlin_profile_" + std::to_string(::getpid()) + ".ini"))
                    .string();
        std::ofstream(path_, std::ios::binary) << text;
        return path_;
    }
    void TearDown() override { std::remove(path_.c_str()); }
    std::string path_;
};

TEST_F(PrivateProfileTest, ImageEnableLowByteRule) {
    const auto p = Write(
        "[Tavlin HInfo]\nImage_en=257\n[Tavlin LInfo]\nImage_en = 256\n[Tavlin RInfo]\n"
        "Image_en=511\n");
    EXPECT_EQ(GetPrivateProfileInt("Tavlin HInfo", "Image_en", 255, p) & 0xFF, 1u);
    EXPECT_EQ(GetPrivateProfileInt("Tavlin LInfo", "Image_en", 255, p) & 0xFF, 0u);
    EXPECT_EQ(GetPrivateProfileInt("Tavlin RInfo", "Image_en", 255, p) & 0xFF, 255u);
}

TEST_F(PrivateProfileTest, MissingFileReadsAsEveryKeyAbsent) {
    const std::string p = "/nonexistent/dir/package.ini";
    EXPECT_EQ(GetPrivateProfileInt("Tavlin HInfo", "Image_en", 255, p), 255u);
    EXPECT_EQ(GetPrivateProfileInt("Tavlin HInfo", "Image_version", 0, p), 0u);
    EXPECT_EQ(GetPrivateProfileString("FPGA", "FileDir", "", p, 128), "");
}

TEST_F(PrivateProfileTest, NamesAreCaseInsensitiveAndFirstMatchWins) {
    const auto p = Write(
        "; comment\n[fpga]\nfiledir = C:\\first\nFileDir=C:\\second\n[FPGA]\nFileDir=third\n"
        "[Image]\r\nFileDir=\"quoted dir\"\r\n");
    EXPECT_EQ(GetPrivateProfileString("FPGA", "FileDir", "", p), "C:\\first");
    EXPECT_EQ(GetPrivateProfileString("IMAGE", "filedir", "", p), "quoted dir");
    EXPECT_EQ(GetPrivateProfileString("SCRIPT", "FileDir", "dflt", p), "dflt");
}

TEST_F(PrivateProfileTest, IntegerParsingStopsAtFirstNonDigit) {
    const auto p = Write("[S]\nv=305419896\nw=12abc\nx=abc\ny=-1\nz=4294967295\nbig=0x10\n");
    EXPECT_EQ(GetPrivateProfileInt("S", "v", 0, p), 305419896u);
    EXPECT_EQ(GetPrivateProfileInt("S", "w", 0, p), 12u);
    EXPECT_EQ(GetPrivateProfileInt("S", "x", 7, p), 0u) << "present but not a number reads 0";
    EXPECT_EQ(GetPrivateProfileInt("S", "y", 0, p), 0xFFFFFFFFu);
    EXPECT_EQ(GetPrivateProfileInt("S", "z", 0, p), 4294967295u);
    EXPECT_EQ(GetPrivateProfileInt("S", "big", 0, p), 0u);
}

TEST_F(PrivateProfileTest, StringIsCutToTheBuffer) {
    const auto p = Write("[Image]\nFileDir=" + std::string(300, 'a') + "\n");
    EXPECT_EQ(GetPrivateProfileString("Image", "FileDir", "", p, 128).size(), 127u);
}

}  // namespace
}  // namespace tavlin
