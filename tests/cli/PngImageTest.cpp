// The PNG bytes of the CLI's pictures, read back by another decoder (QtGui's) pixel by pixel.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QImage>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "cli/PngImage.h"

namespace tavlin::cli {
namespace {

struct PictureCase {
    const char* name;
    int width;
    int height;
    std::vector<uint32_t> pixels;
};

// Every channel on its own, an odd width (rows not a multiple of four bytes), a picture taller
// than wide, and a whole preview picture with every grey and the red line.
std::vector<PictureCase> Pictures() {
    std::vector<uint32_t> preview(640 * 72);
    for (size_t i = 0; i < preview.size(); ++i) {
        const uint32_t grey = (i * 7) & 0xFF;
        preview[i] = i % 640 == 320 ? 0xFFFF0000 : 0xFF000000 | grey << 16 | grey << 8 | grey;
    }
    return {
        {"one red pixel", 1, 1, {0xFFFF0000}},
        {"channels, odd width",
         3,
         2,
         {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFF123456, 0xFFFFFFFF, 0xFF000000}},
        {"taller than wide", 1, 3, {0xFF010203, 0xFF040506, 0xFF070809}},
        {"preview", 640, 72, preview},
    };
}

TEST(PngImageTest, DecodesToTheSamePixels) {
    ASSERT_TRUE(CanEncodePng());
    for (const PictureCase& c : Pictures()) {
        SCOPED_TRACE(c.name);
        std::string error;
        const auto bytes = EncodePng(c.width, c.height, c.pixels, &error);
        ASSERT_TRUE(bytes.has_value()) << error;
        const QImage image =
            QImage::fromData(QByteArray(reinterpret_cast<const char*>(bytes->data()),
                                        static_cast<qsizetype>(bytes->size())),
                             "PNG");
        ASSERT_FALSE(image.isNull());
        ASSERT_EQ(image.width(), c.width);
        ASSERT_EQ(image.height(), c.height);
        EXPECT_FALSE(image.hasAlphaChannel()) << "the pictures are opaque";
        int wrong = 0;
        for (int y = 0; y < c.height; ++y) {
            for (int x = 0; x < c.width; ++x) {
                wrong += image.pixel(x, y) != c.pixels[static_cast<size_t>(y * c.width + x)];
            }
        }
        EXPECT_EQ(wrong, 0);
    }
}

// A size that does not fit the pixels is refused with a reason, never read past the end.
TEST(PngImageTest, RefusesASizeThatDoesNotFitThePixels) {
    const struct {
        int width;
        int height;
        size_t pixels;
    } cases[] = {{0, 0, 0}, {0, 1, 0}, {2, 2, 3}, {2, 2, 5}, {-1, -1, 1}};
    for (const auto& c : cases) {
        std::string error;
        EXPECT_FALSE(EncodePng(c.width, c.height, std::vector<uint32_t>(c.pixels), &error))
            << c.width << "x" << c.height;
        EXPECT_FALSE(error.empty());
    }
}

// The file holds exactly the encoded bytes; a file that cannot be opened, or a disk that fills
// before the last buffered bytes go out (a one-pixel picture fits the stream's buffer, so only
// the close can tell), is a failure with the system's reason.
TEST(PngImageTest, WritesTheFileWhollyOrSaysWhyNot) {
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("tavlin-png-" + std::to_string(::getpid()));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir / "a-folder");
    const std::vector<uint32_t> pixel{0xFF336699};
    std::string error;
    const auto bytes = EncodePng(1, 1, pixel, &error);
    ASSERT_TRUE(bytes) << error;

    const std::string file = (dir / "one.png").string();
    ASSERT_TRUE(WritePngFile(file, 1, 1, pixel, &error)) << error;
    {
        // Closed before the folder goes: Windows keeps an open file from being removed.
        std::ifstream in(file, std::ios::binary);
        EXPECT_EQ(std::vector<unsigned char>(std::istreambuf_iterator<char>(in), {}), *bytes);
    }

    const struct {
        std::string path;
        std::string reason;
    } refused[] = {
        {(dir / "a-folder").string(), "not a regular file"},
        {"/dev/full", "not a regular file"},

    };
    for (const auto& r : refused) {
        error.clear();
        EXPECT_FALSE(WritePngFile(r.path, 1, 1, pixel, &error)) << r.path;
        EXPECT_EQ(error, r.reason) << r.path;
    }
    // A folder that is not there: the system's own words, whatever they are there.
    error.clear();
    EXPECT_FALSE(WritePngFile((dir / "missing" / "x.png").string(), 1, 1, pixel, &error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(WritePngFile(file, 2, 1, pixel, &error)) << "a size that does not fit";
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace tavlin::cli
