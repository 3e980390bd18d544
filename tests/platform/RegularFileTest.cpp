#include "platform/RegularFile.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace tavlin {
namespace {

namespace fs = std::filesystem;

class RegularFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("tavlin-regular-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(dir_, ignored);
    }
    std::string Path(const char* name) const { return (dir_ / name).string(); }
    std::string Text(const char* name) const {
        std::ifstream in(dir_ / name, std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(in)), {});
    }
    fs::path dir_;
};

enum class Kind { Regular, Missing, Folder, Fifo, Device };

struct Case {
    const char* label;
    Kind kind;
    const char* mode;
    bool opens;
    bool notAFile;
    const char* contentAfter;  // what the file holds once something was written, or nullptr
    uint64_t size;             // the size told when it opens
};

// Every case must end at once: a FIFO opened for reading or writing with nobody at its other
// end would otherwise wait for ever, and the test with it.
const Case kCases[] = {
    {"read a regular file", Kind::Regular, "rb", true, false, nullptr, 3},
    {"write empties a regular file", Kind::Regular, "wb", true, false, "new", 0},
    {"append keeps a regular file", Kind::Regular, "ab", true, false, "oldnew", 3},
    {"update a regular file", Kind::Regular, "r+b", true, false, "new", 3},
    {"write and read a regular file", Kind::Regular, "w+b", true, false, "new", 0},
    {"append and read a regular file", Kind::Regular, "a+b", true, false, "oldnew", 3},
    {"read a missing file", Kind::Missing, "rb", false, false, nullptr, 0},
    {"write creates a missing file", Kind::Missing, "wb", true, false, "new", 0},
    {"append creates a missing file", Kind::Missing, "ab", true, false, "new", 0},
    {"read a folder", Kind::Folder, "rb", false, true, nullptr, 0},
    {"write a folder", Kind::Folder, "wb", false, true, nullptr, 0},
    {"read the null device", Kind::Device, "rb", false, true, nullptr, 0},
    {"write the null device", Kind::Device, "wb", false, true, nullptr, 0},
#ifndef _WIN32
    {"read a FIFO", Kind::Fifo, "rb", false, true, nullptr, 0},
    {"write a FIFO", Kind::Fifo, "wb", false, true, nullptr, 0},
    {"append to a FIFO", Kind::Fifo, "ab", false, true, nullptr, 0},
    {"update a FIFO", Kind::Fifo, "r+b", false, true, nullptr, 0},
#endif
};

TEST_F(RegularFileTest, OpensOnlyRegularFilesAndNeverWaits) {
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.label);
#ifdef _WIN32
        const std::string path = c.kind == Kind::Device ? "NUL" : Path(c.label);
#else
        const std::string path = c.kind == Kind::Device ? "/dev/null" : Path(c.label);
#endif
        switch (c.kind) {
            case Kind::Regular:
                std::ofstream(path, std::ios::binary) << "old";
                break;
            case Kind::Missing:
            case Kind::Device:
                break;
            case Kind::Folder:
                fs::create_directory(path);
                break;
            case Kind::Fifo:
#ifndef _WIN32
                ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
#endif
                break;
        }
        const auto start = std::chrono::steady_clock::now();
        RegularFile opened = OpenRegularFile(path, c.mode);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
        EXPECT_EQ(static_cast<bool>(opened), c.opens);
        EXPECT_EQ(opened.notAFile, c.notAFile);
        EXPECT_EQ(opened.size, c.size);
        if (!c.opens) {
            EXPECT_EQ(RegularFileProblem(opened) == "not a regular file", c.notAFile);
            EXPECT_TRUE(c.notAFile || opened.error);
            continue;
        }
        if (c.contentAfter != nullptr) {
            EXPECT_GE(std::fputs("new", opened.file), 0);
        }
        std::fclose(opened.file);
        if (c.contentAfter != nullptr) {
            EXPECT_EQ(Text(c.label), c.contentAfter);
        }
    }
}

TEST_F(RegularFileTest, ReadsARegularFileWholeAndSaysWhyNot) {
    const std::string bytes(200000, 'x');
    std::ofstream(Path("big"), std::ios::binary) << bytes;
    EXPECT_EQ(ReadRegularFile(Path("big")), bytes);

    RegularFile why;
    EXPECT_FALSE(ReadRegularFile(Path("missing"), &why));
    EXPECT_FALSE(why.notAFile);
    EXPECT_TRUE(why.error);

    fs::create_directory(Path("folder"));
    EXPECT_FALSE(ReadRegularFile(Path("folder"), &why));
    EXPECT_TRUE(why.notAFile);
    EXPECT_TRUE(IsThereButNotAFile(Path("folder")));
    EXPECT_FALSE(IsThereButNotAFile(Path("big")));
    EXPECT_FALSE(IsThereButNotAFile(Path("missing")));
#ifndef _WIN32
    ASSERT_EQ(::mkfifo(Path("fifo").c_str(), 0600), 0);
    EXPECT_FALSE(ReadRegularFile(Path("fifo"), &why));
    EXPECT_TRUE(why.notAFile);
    EXPECT_TRUE(IsThereButNotAFile(Path("fifo")));
#endif
}

TEST_F(RegularFileTest, RefusesAModeItDoesNotKnow) {
    const RegularFile opened = OpenRegularFile(Path("any"), "x");
    EXPECT_FALSE(opened);
    EXPECT_FALSE(opened.notAFile);
    EXPECT_EQ(opened.error, std::make_error_code(std::errc::invalid_argument));
    EXPECT_FALSE(fs::exists(Path("any")));
}

}  // namespace
}  // namespace tavlin
