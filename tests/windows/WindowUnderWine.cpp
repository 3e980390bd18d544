// tavlin.exe as a user starts it on Windows, with Qt's real windows platform: this driver starts
// it on the simulated device, finds its window by its caption, checks the window's size and its
// system menu (a separator, then the about entry, which opens the about box), saves a
// screenshot, closes the window with a close request and checks that the program ended through
// its exit path. Under Wine it needs an X display (a virtual one will do).
//
// Usage: window_under_wine TAVLIN_EXE OUTPUT_FOLDER
#include <windows.h>

#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

namespace {

constexpr wchar_t kCaption[] = L"Tavlin 0.98";
constexpr wchar_t kAboutCaption[] = L"关于 Tavlin";
constexpr wchar_t kAboutEntry[] = L"关于 Tavlin(&A)...";
constexpr int kClientWidth = 480;
constexpr int kClientHeight = 420;
constexpr UINT kAboutCommand = 0x10;

int failures = 0;

void Check(bool ok, const char* what) {
    std::printf("%s: %s\n", ok ? "ok" : "FAILED", what);
    failures += ok ? 0 : 1;
}

template <class Found>
HWND WaitForWindow(Found find, int seconds) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (std::chrono::steady_clock::now() < deadline) {
        if (HWND window = find()) {
            return window;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return nullptr;
}

std::string LastLine(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::string line, last;
    while (std::getline(in, line)) {
        if (!line.empty()) {
            last = line;
        }
    }
    return last;
}

bool UnderWine() {
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

void CheckSystemMenu(HWND window) {
    if (UnderWine()) {
        // Wine gives no process another's system menu; windows_system_menu_tests reads it from
        // inside the program there.
        std::printf("skipped: the system menu, from another process under Wine\n");
        return;
    }
    HMENU menu = GetSystemMenu(window, FALSE);
    Check(menu != nullptr, "the window has a system menu");
    if (menu == nullptr) {
        return;
    }
    const int count = GetMenuItemCount(menu);
    Check(count >= 2 && GetMenuItemID(menu, count - 1) == kAboutCommand,
          "the system menu ends with the about entry (command 0x10)");
    wchar_t text[128] = {};
    GetMenuStringW(menu, count - 1, text, 128, MF_BYPOSITION);
    Check(std::wstring(text) == kAboutEntry, "the about entry shows string 101");
    Check(count >= 2 && (GetMenuState(menu, count - 2, MF_BYPOSITION) & MF_SEPARATOR) != 0,
          "a separator stands before it");
}

void CheckAboutBox(HWND window) {
    PostMessageW(window, WM_SYSCOMMAND, kAboutCommand, 0);
    HWND about = WaitForWindow([] { return FindWindowW(nullptr, kAboutCaption); }, 20);
    Check(about != nullptr, "the about entry opens the about box");
    if (about != nullptr) {
        PostMessageW(about, WM_CLOSE, 0, 0);
        Check(WaitForWindow([&] { return IsWindow(about) ? nullptr : window; }, 20) != nullptr,
              "the about box closes");
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: window_under_wine TAVLIN_EXE OUTPUT_FOLDER\n");
        return 2;
    }
    const std::filesystem::path exe = argv[1];
    const std::filesystem::path out = argv[2];
    std::filesystem::remove_all(out);
    std::filesystem::create_directories(out);

    // The program's own texts are the built-in Chinese ones.
    SetEnvironmentVariableW(L"LANG", L"zh_CN.UTF-8");
    SetEnvironmentVariableW(L"QT_QPA_PLATFORM", L"windows");
    std::wstring command = L"\"" + exe.wstring() + L"\" --simulate";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        out.wstring().c_str(), &startup, &process)) {
        std::fprintf(stderr, "cannot start %s (%lu)\n", exe.string().c_str(), GetLastError());
        return 1;
    }

    HWND window = WaitForWindow([] { return FindWindowW(nullptr, kCaption); }, 90);
    Check(window != nullptr, "a window captioned \"Tavlin 0.98\" opens");
    if (window != nullptr) {
        RECT client{};
        GetClientRect(window, &client);
        std::printf("client area %ld x %ld\n", client.right, client.bottom);
        Check(client.right == kClientWidth && client.bottom == kClientHeight,
              "its client area is 480 x 420");
        CheckSystemMenu(window);

        // Give the detection time to write its status, then photograph the window.
        std::this_thread::sleep_for(std::chrono::seconds(2));
        int qtArgc = 1;
        QGuiApplication app(qtArgc, argv);
        RECT frame{};
        GetWindowRect(window, &frame);
        const QPixmap shot = app.primaryScreen()->grabWindow(
            0, frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top);
        const std::filesystem::path png = out / "tavlin_window_under_wine.png";
        Check(!shot.isNull() && shot.save(QString::fromStdWString(png.wstring())),
              "screenshot saved");
        std::printf("screenshot: %s\n", png.string().c_str());

        CheckAboutBox(window);
        PostMessageW(window, WM_CLOSE, 0, 0);
    }
    const bool ended = WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0;
    Check(ended, "the program ends after the close request");
    if (!ended) {
        TerminateProcess(process.hProcess, 1);
    }
    DWORD exitCode = 1;
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    Check(exitCode == 0, "exit status 0");
    Check(LastLine(out / "Tavlin_log.txt").find("Tavlin log end!") != std::string::npos,
          "the log ends with its end line");
    return failures == 0 ? 0 : 1;
}
