#pragma once
// Windows programs under Wine inside a umockdev test bed. Wine's device host (winedevice.exe,
// where winebus reads the bed's hidraw node) must inherit the bed's preload and UMOCKDEV_DIR, so
// each session starts its own wineserver from this process, in a prefix of the bed's own that
// no server runs for when the session starts, and ends it with `wineserver -k`.
#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

namespace tavlin::e2e {

struct WineRun {
    bool ended = false;
    int exitStatus = -1;
    std::string out;  // what the program wrote to stdout
    std::string err;  // what it wrote to stderr (Wine's own complaints too)
};

// The bed's settings from the environment (see tests/windows/CMakeLists.txt): the Wine prefix
// and the Windows programs it runs.
struct WineBedSettings {
    std::filesystem::path prefix;
    std::filesystem::path cliExe;
    std::filesystem::path presenceExe;   // presence_under_wine.exe
    std::filesystem::path windowExe;     // tavlin.exe; empty where the window is not built
    std::filesystem::path bandProbeExe;  // status_band_probe.exe, with the window
    static WineBedSettings FromEnvironment();
    std::string Missing() const;  // empty when the bed can run
};

class WineSession {
  public:
    explicit WineSession(std::filesystem::path prefix);
    ~WineSession();  // ends the session
    WineSession(const WineSession&) = delete;
    WineSession& operator=(const WineSession&) = delete;

    // Starts `exe args` under Wine in `dir` (stdout to out.txt, stderr to err.txt there).
    pid_t Start(const std::filesystem::path& dir, const std::filesystem::path& exe,
                const std::vector<std::string>& args);
    // Waits for a started program; kills it when it outlives `limit`.
    WineRun Wait(pid_t pid, const std::filesystem::path& dir, std::chrono::milliseconds limit);
    WineRun Run(const std::filesystem::path& dir, const std::filesystem::path& exe,
                const std::vector<std::string>& args, std::chrono::milliseconds limit);

    // Ends every process of the session (`wineserver -k`) and waits until the server is gone.
    void End();

  private:
    int Server(const char* option, std::chrono::milliseconds limit);

    std::filesystem::path prefix_;
    bool started_ = false;
};

// A file as text, with Windows line ends made Linux ones.
std::string ReadText(const std::filesystem::path& path);

}  // namespace tavlin::e2e
