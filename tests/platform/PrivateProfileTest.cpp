#include "platform/PrivateProfile.h"

#include "platform/LegacyCodePage.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <future>
#include <vector>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#ifdef _WIN32
#include <windows.h>
#undef GetPrivateProfileString  // the system's macros would rename ours
#undef GetPrivateProfileInt
#endif

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

// A missing file, and a name that is no file (a folder; a FIFO, which is read without waiting
// for a writer), read as a file without the keys.
TEST_F(PrivateProfileTest, MissingFileReadsAsEveryKeyAbsent) {
    const std::string folder = std::filesystem::temp_directory_path().string();
    std::vector<std::string> paths = {"/nonexistent/dir/package.ini", folder};
#ifndef _WIN32
    const std::string fifo = Write("") + ".fifo";
    std::remove(fifo.c_str());
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    paths.push_back(fifo);
#endif
    for (const std::string& p : paths) {
        SCOPED_TRACE(p);
        auto read = std::async(std::launch::async, [&p] {
            EXPECT_EQ(GetPrivateProfileInt("Tavlin HInfo", "Image_en", 255, p), 255u);
            EXPECT_EQ(GetPrivateProfileInt("Tavlin HInfo", "Image_version", 0, p), 0u);
            EXPECT_EQ(GetPrivateProfileString("FPGA", "FileDir", "", p, 128), "");
        });
        if (read.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
            ADD_FAILURE() << "the profile waits on " << p;
            std::_Exit(1);
        }
    }
#ifndef _WIN32
    std::remove(fifo.c_str());
#endif
}

TEST_F(PrivateProfileTest, NamesAreCaseInsensitiveAndFirstMatchWins) {
    const auto p = Write(
        "; comment\n[fpga]\nfiledir = C:\\first\nFileDir=C:\\second\n[FPGA]\nFileDir=third\n"
        "[Image]\r\nFileDir=\"quoted dir\"\r\n");
    EXPECT_EQ(GetPrivateProfileString("FPGA", "FileDir", "", p), "C:\\first");
    EXPECT_EQ(GetPrivateProfileString("IMAGE", "filedir", "", p), "quoted dir");
    EXPECT_EQ(GetPrivateProfileString("SCRIPT", "FileDir", "dflt", p), "dflt");
}

// Each value as GetPrivateProfileInt reads it.
TEST_F(PrivateProfileTest, IntegersAreDecimalAndAnEmptyValueIsTheDefault) {
    const struct {
        const char* line;
        uint32_t expected;
    } cases[] = {
        {"k=305419896", 305419896u},
        {"k=12abc", 12u},
        {"k=abc", 0u},   // present but not a number
        {"k=0x10", 0u},  // no hexadecimal
        {"k=-1", 0xFFFFFFFFu},
        {"k=+7", 7u},
        {"k=4294967295", 4294967295u},
        {"k=4294967297", 1u},  // wraps around
        {"k=", 255u},          // empty: the default, so an empty "Image_en" is absent
        {"k=   ", 255u},
        {"k=\"\"", 255u},
        {"k=\" 1\"", 1u},  // blanks before the number are passed over
        {"k=\"\t-2\"", 0xFFFFFFFEu},
        {"k=\" \"", 0u},
        {"k= - 1", 0u},
    };
    for (const auto& c : cases) {
        const auto p = Write(std::string("[S]\n") + c.line + "\n");
        EXPECT_EQ(GetPrivateProfileInt("S", "k", 255, p), c.expected) << c.line;
    }
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

// Files without a byte-order mark as Windows saves them, read in the legacy code page unless the
// whole file is UTF-8.
TEST_F(PrivateProfileTest, FilesWithoutAMarkAreUtf8OrInTheLegacyCodePage) {
    const struct {
        const char* what;
        unsigned codePage;
        std::string file;
        const char* key;
        std::string expected;
    } cases[] = {
        {"GBK package on a Chinese system", kCodePageChinese,
         "[S]\r\nImage_en=1\r\nImage_name=\xB9\xCC\xBC\xFE.bin\r\n", "Image_name",
         "\xE5\x9B\xBA\xE4\xBB\xB6.bin"},  // 固件.bin
        {"CP1251 package on a Russian system", kCodePageCyrillic,
         "[S]\r\nImage_name=\xEF\xF0\xEE\xF8\xE8\xE2\xEA\xE0.bin\r\n", "Image_name",
         "\xD0\xBF\xD1\x80\xD0\xBE\xD1\x88\xD0\xB8\xD0\xB2\xD0\xBA\xD0\xB0.bin"},  // прошивка
        {"the same GBK bytes on a Russian system", kCodePageCyrillic,
         "[S]\nImage_name=\xB9\xCC\xBC\xFE.bin\n", "Image_name",
         "\xE2\x84\x96\xD0\x9C\xD1\x98\xD1\x8E.bin"},  // №Мјю.bin
        {"1252 on any other system", kCodePageWestern, "[S]\nk=caf\xE9\n", "k", "caf\xC3\xA9"},
        {"UTF-8 stays UTF-8", kCodePageChinese, "[S]\nk=\xE5\x9B\xBA\xE4\xBB\xB6\n", "k",
         "\xE5\x9B\xBA\xE4\xBB\xB6"},
        // One byte that is not UTF-8 makes the whole file legacy text, the UTF-8 line too.
        {"the whole file is decided at once", kCodePageChinese,
         "[S]\nk=\xE5\x9B\xBA\xE4\xBB\xB6\n; \xB9\xCC\n", "k",
         "\xE9\x8D\xA5\xE8\xBD\xB0\xE6\xAC\xA2"},  // 鍥轰欢
        {"broken UTF-8 after a mark", kCodePageChinese, "\xEF\xBB\xBF[S]\nk=a\xB9z\n", "k",
         "a\xEF\xBF\xBDz"},
        {"a lone CR ends a line", kCodePageWestern, "[S]\rk=v\rm=w", "m", "w"},
        {"CR CR LF", kCodePageWestern, "[S]\r\r\nk=v\r\r\n", "k", "v"},
        {"lone CRs in a GBK file", kCodePageChinese, "[T]\rk=x\r[S]\rk=\xB9\xCC\xBC\xFE\r", "k",
         "\xE5\x9B\xBA\xE4\xBB\xB6"},
    };
    for (const auto& c : cases) {
        SetLegacyCodePage(c.codePage);
        const auto p = Write(c.file);
        EXPECT_EQ(GetPrivateProfileString("S", c.key, "-", p), c.expected) << c.what;
    }
    SetLegacyCodePage(0);
}

// Linux converts through iconv, whose failures are ours to turn into U+FFFD.
TEST(CodePageToUtf8, BytesThatAreNoTextBecomeReplacementCharacters) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows replaces them its own way";
#endif
    EXPECT_EQ(CodePageToUtf8("a\xB9", kCodePageChinese), "a\xEF\xBF\xBD");  // cut off
    EXPECT_EQ(CodePageToUtf8("\xFFz", kCodePageChinese), "\xEF\xBF\xBDz");
    EXPECT_EQ(CodePageToUtf8("\x80", kCodePageChinese), "\xE2\x82\xAC") << "GBK's euro sign";
    EXPECT_EQ(CodePageToUtf8("\x98", kCodePageCyrillic), "\xEF\xBF\xBD");  // unassigned
    EXPECT_EQ(CodePageToUtf8("\xE9", 99999), "\xEF\xBF\xBD") << "unknown code page";
    EXPECT_EQ(CodePageToUtf8(std::string(3000, '\xE9'), kCodePageWestern).size(), 6000u);
}

#ifdef _WIN32
// The system's own profile functions on the same files, in the system's ANSI code page. Where
// they are known to differ they are left out: a file without a mark that is UTF-8 (the system
// reads it as ANSI text), "0x10" (Wine 8 reads it as 16; numbers here are decimal), and a number
// longer than 29 characters (Wine reads only its first 29).
TEST(PrivateProfileAgainstTheSystem, ReadsWhatTheSystemReads) {
    const std::string files[] = {
        "[S]\r\nk=\r\nn=\r\n",
        "[S]\r\nk=   \r\nn=\"\"\r\n",
        "[S]\r\nk=\" 1\"\r\nn=' x '\r\n",
        "[S]\r\nk= - 1\r\nn=a=b\r\n",
        "[S]\r\nk=+7\r\nn=  padded  \r\n",
        "[S]\r\nk=\"\t-2\"\r\n",
        "[S]\r\nk=4294967297\r\nk=5\r\n[S]\r\nn=second\r\n",
        "[S]\rj=5\rk=9\rn=cr\r",
        "[S]\r\r\nk=3\r\r\nn=crcrlf\r\r\n",
        "[s]\nK=12abc\nN=lf\n",
        "[S]\r\nk=9\r\nn=\xB9\xCC\xBC\xFE.bin\r\n",
        "[S]\r\nn=\xEF\xF0\xEE\xF8\xE8\xE2\xEA\xE0 caf\xE9\r\n",
        "\xEF\xBB\xBF[S]\r\nk=1\r\nn=\xE5\x9B\xBA\r\n",
        "; c\r\n[T]\r\nk=4\r\n[ S ]\r\n k = 8 \r\n n = spaced \r\n",
    };
    const auto folder = std::filesystem::temp_directory_path();
    int index = 0;
    for (const std::string& text : files) {
        // A name of its own for each: the system keeps recently read files.
        const auto path = folder / ("tavlin_system_" + std::to_string(::getpid()) + "_" +
                                    std::to_string(index++) + ".ini");
        std::ofstream(path, std::ios::binary) << text;
        const std::string utf8 = path.string();
        EXPECT_EQ(GetPrivateProfileInt("S", "k", 255, utf8),
                  ::GetPrivateProfileIntW(L"S", L"k", 255, path.c_str()))
            << text;
        wchar_t wide[256] = {};
        ::GetPrivateProfileStringW(L"S", L"n", L"-", wide, 256, path.c_str());
        char converted[1024] = {};
        WideCharToMultiByte(CP_UTF8, 0, wide, -1, converted, sizeof converted, nullptr, nullptr);
        EXPECT_EQ(GetPrivateProfileString("S", "n", "-", utf8), std::string(converted)) << text;
        std::filesystem::remove(path);
    }
}
#endif

}  // namespace
}  // namespace tavlin
