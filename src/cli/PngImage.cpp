#include "cli/PngImage.h"

#include <cerrno>
#include <cstdio>
#include <system_error>

#if defined(TAVLIN_PNG_LIBPNG)
#include <png.h>
#elif defined(TAVLIN_PNG_QT)
#include <QBuffer>
#include <QByteArray>
#include <QImage>
#endif

#include "platform/FilePath.h"
#include "platform/RegularFile.h"

namespace tavlin::cli {

bool CanEncodePng() {
#if defined(TAVLIN_PNG_LIBPNG) || defined(TAVLIN_PNG_QT)
    return true;
#else
    return false;
#endif
}

std::optional<std::vector<unsigned char>> EncodePng(int width, int height,
                                                    const std::vector<uint32_t>& pixels,
                                                    std::string* error) {
    if (width <= 0 || height <= 0 ||
        pixels.size() != static_cast<size_t>(width) * static_cast<size_t>(height)) {
        *error = "the picture's size does not match its pixels";
        return std::nullopt;
    }
#if defined(TAVLIN_PNG_LIBPNG)
    // libpng's simplified interface reports its errors in the image rather than by longjmp,
    // which would skip this function's destructors.
    std::vector<unsigned char> rgb;
    rgb.reserve(pixels.size() * 3);
    for (const uint32_t pixel : pixels) {
        rgb.push_back(static_cast<unsigned char>(pixel >> 16));
        rgb.push_back(static_cast<unsigned char>(pixel >> 8));
        rgb.push_back(static_cast<unsigned char>(pixel));
    }
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_RGB;
    // Asked first for the size, then written into a buffer of that size.
    png_alloc_size_t size = 0;
    std::vector<unsigned char> bytes;
    if (png_image_write_to_memory(&image, nullptr, &size, 0, rgb.data(), 0, nullptr) != 0) {
        bytes.resize(size);
        if (png_image_write_to_memory(&image, bytes.data(), &size, 0, rgb.data(), 0, nullptr) !=
            0) {
            return bytes;
        }
    }
    *error = image.message[0] != '\0' ? image.message : "libpng wrote no picture";
    png_image_free(&image);
    return std::nullopt;
#elif defined(TAVLIN_PNG_QT)
    const QImage image(reinterpret_cast<const uchar*>(pixels.data()), width, height, width * 4,
                       QImage::Format_RGB32);
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG")) {
        *error = "Qt wrote no picture";
        return std::nullopt;
    }
    return std::vector<unsigned char>(data.begin(), data.end());
#else
    *error = "this build has no PNG writer";
    return std::nullopt;
#endif
}

bool WritePngFile(const std::string& utf8Path, int width, int height,
                  const std::vector<uint32_t>& pixels, std::string* error) {
    const auto bytes = EncodePng(width, height, pixels, error);
    if (!bytes) {
        return false;
    }
    // Opened without waiting: a FIFO put there since the folder was checked must not keep the
    // device in calibration mode.
    const RegularFile opened = OpenRegularFile(utf8Path, "wb");
    std::FILE* file = opened.file;
    if (file == nullptr) {
        *error = RegularFileProblem(opened);
        return false;
    }
    const bool written = std::fwrite(bytes->data(), 1, bytes->size(), file) == bytes->size();
    const int writeErrno = errno;
    // A full disk may only show when the buffered end goes out.
    const bool closed = std::fclose(file) == 0;
    if (!written || !closed) {
        *error = ErrorText(std::error_code(written ? errno : writeErrno, std::generic_category()));
        return false;
    }
    return true;
}

}  // namespace tavlin::cli
