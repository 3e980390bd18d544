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

// The literal's bytes, embedded zeros included.
template <size_t N>
std::string Bytes(const char (&literal)[N]) {
    return std::string(literal, N - 1);
}

TEST_F(PrivateProfileTest, StringIsCutToTheBufferAtWholeCharacters) {
    auto p = Write("[Image]\nFileDir=" + std::string(300, 'a') + "\n");
    EXPECT_EQ(GetPrivateProfileString("Image", "FileDir", "", p, 128).size(), 127u);
    // The buffer counts wide characters, not bytes: 127 of U+56FA fit, the 128th does not.
    std::string dir;
    for (int i = 0; i < 130; ++i) {
        dir += "\xE5\x9B\xBA";
    }
    p = Write("[Image]\nFileDir=" + dir + "\n");
    EXPECT_EQ(GetPrivateProfileString("Image", "FileDir", "", p, 128), dir.substr(0, 127 * 3));
    // U+1D11E takes two wide units: with one unit left it is left out whole.
    p = Write("[Image]\nFileDir=" + dir.substr(0, 126 * 3) + "\xF0\x9D\x84\x9E\n");
    EXPECT_EQ(GetPrivateProfileString("Image", "FileDir", "", p, 128), dir.substr(0, 126 * 3));
    p = Write("[Image]\nFileDir=" + dir.substr(0, 125 * 3) + "\xF0\x9D\x84\x9E\n");
    EXPECT_EQ(GetPrivateProfileString("Image", "FileDir", "", p, 128),
              dir.substr(0, 125 * 3) + "\xF0\x9D\x84\x9E");
}

// Notepad's "UTF-8" puts a byte-order mark before the first section.
TEST_F(PrivateProfileTest, Utf8WithByteOrderMarkFindsTheFirstSection) {
    const auto p =
        Write(Bytes("\xEF\xBB\xBF[Tavlin HInfo]\r\nImage_en=1\r\n"
                    "Image_name=\xE5\x9B\xBA.bin\r\n"));
    EXPECT_EQ(GetPrivateProfileInt("Tavlin HInfo", "Image_en", 255, p), 1u);
    EXPECT_EQ(GetPrivateProfileString("Tavlin HInfo", "Image_name", "", p), "\xE5\x9B\xBA.bin");
}

// Notepad's "Unicode": UTF-16LE with its mark. "[S]\r\nk=" U+56FA U+1D11E "\r\nn=42\r\n".
TEST_F(PrivateProfileTest, Utf16WithByteOrderMarkReadsAsUtf8) {
    const auto le =
        Write(Bytes("\xFF\xFE[\0S\0]\0\r\0\n\0k\0=\0\xFA\x56\x34\xD8\x1E\xDD\r\0\n\0"
                    "n\0=\0"
                    "4\0"
                    "2\0\r\0\n\0"));
    EXPECT_EQ(GetPrivateProfileString("s", "K", "", le), "\xE5\x9B\xBA\xF0\x9D\x84\x9E");
    EXPECT_EQ(GetPrivateProfileInt("S", "n", 0, le), 42u);
    // Notepad's "UTF-16 BE" costs nothing more to read.
    const auto be = Write(Bytes("\xFE\xFF\0[\0S\0]\0\n\0k\0=\x56\xFA\0\n"));
    EXPECT_EQ(GetPrivateProfileString("S", "k", "", be), "\xE5\x9B\xBA");
}

TEST_F(PrivateProfileTest, BrokenUtf16ShowsReplacementCharacters) {
    // A high surrogate followed by 'b' instead of its low half, then a last byte without its
    // pair: each is one U+FFFD, and the rest of the text reads normally.
    const auto p =
        Write(Bytes("\xFF\xFE[\0S\0]\0\n\0k\0=\0a\0\x00\xD8"
                    "b\0\n\0"
                    "m\0=\0x\0A"));
    EXPECT_EQ(GetPrivateProfileString("S", "k", "", p),
              "a\xEF\xBF\xBD"
              "b");
    EXPECT_EQ(GetPrivateProfileString("S", "m", "", p), "x\xEF\xBF\xBD");
    const auto lowFirst = Write(Bytes("\xFF\xFE[\0S\0]\0\n\0k\0=\0\x1E\xDD\x34\xD8"));
    EXPECT_EQ(GetPrivateProfileString("S", "k", "", lowFirst), "\xEF\xBF\xBD\xEF\xBF\xBD");
    const auto markOnly = Write(Bytes("\xFF\xFE"));
    EXPECT_EQ(GetPrivateProfileString("S", "k", "absent", markOnly), "absent");
}

}  // namespace
}  // namespace tavlin
