// Reads back what a top-level window shows in a band of its client area, as pixels, and prints
// a digest of them and how many differ from the band's first pixel (the background): a test
// can tell whether the band shows the same thing as before, and that it shows something, with
// no hook in the program. Under Wine 8 no other process can read a Qt window's texts (its UI
// Automation client is a stub), so this is how a test follows the main window's status line.
//
// Usage: status_band_probe CAPTION TOP HEIGHT   (ASCII caption; the band's rows in client
// coordinates). Prints "digest HEX nonbackground N"; exit status 2 when no such window is shown.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: status_band_probe CAPTION TOP HEIGHT\n");
        return 2;
    }
    HWND window = FindWindowA(nullptr, argv[1]);
    RECT client{};
    if (window == nullptr || !IsWindowVisible(window) || !GetClientRect(window, &client)) {
        return 2;
    }
    const int top = std::atoi(argv[2]);
    const int width = client.right - client.left;
    const int height = std::atoi(argv[3]);
    if (width <= 0 || height <= 0 || top < 0 || top + height > client.bottom) {
        return 2;
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC screen = GetDC(window);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (screen == nullptr || memory == nullptr || bitmap == nullptr) {
        return 2;
    }
    HGDIOBJ old = SelectObject(memory, bitmap);
    const bool copied = BitBlt(memory, 0, 0, width, height, screen, 0, top, SRCCOPY) != 0;
    GdiFlush();
    const auto* pixels = static_cast<const uint32_t*>(bits);
    const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
    uint64_t digest = 1469598103934665603ull;  // FNV-1a
    size_t foreground = 0;
    for (size_t i = 0; i < count; ++i) {
        const uint32_t pixel = pixels[i] & 0x00FFFFFFu;
        foreground += pixel != (pixels[0] & 0x00FFFFFFu) ? 1 : 0;
        for (int b = 0; b < 3; ++b) {
            digest = (digest ^ ((pixel >> (8 * b)) & 0xFFu)) * 1099511628211ull;
        }
    }
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(window, screen);
    if (!copied) {
        return 2;
    }
    std::printf("digest %016llx nonbackground %zu\n", static_cast<unsigned long long>(digest),
                foreground);
    return 0;
}
