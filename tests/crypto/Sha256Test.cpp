#include "crypto/Sha256.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace tavlin {
namespace {

// Published test vectors; a million bytes also crosses the file reader's piece size.
TEST(Sha256Test, MatchesTheKnownVectorsInMemoryAndFromAFile) {
    struct Case {
        std::string bytes;
        const char* digest;
    };
    const Case cases[] = {
        {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {std::string(1000000, 'a'),
         "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
    };
    const std::filesystem::path file =
        std::filesystem::temp_directory_path() / "tavlin-sha256-test.bin";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes.size());
        EXPECT_EQ(Sha256Hex(c.bytes), c.digest);
        std::ofstream(file, std::ios::binary) << c.bytes;
        std::string hex;
        std::int64_t size = -1;
        ASSERT_TRUE(Sha256OfFile(file.string(), &hex, &size));
        EXPECT_EQ(hex, c.digest);
        EXPECT_EQ(size, static_cast<std::int64_t>(c.bytes.size()));
    }
    std::filesystem::remove(file);
}

TEST(Sha256Test, AFolderOrAMissingFileIsNoFileToHash) {
    for (const std::filesystem::path& path :
         {std::filesystem::temp_directory_path(),
          std::filesystem::temp_directory_path() / "tavlin-no-such-file"}) {
        std::string hex = "untouched";
        std::int64_t size = 7;
        const Result hashed = Sha256OfFile(path.string(), &hex, &size);
        EXPECT_EQ(hashed.code(), ResultCode::IoError) << path;
        EXPECT_EQ(hex, "untouched");
        EXPECT_EQ(size, 7);
    }
}

}  // namespace
}  // namespace tavlin
