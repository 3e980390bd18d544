#include "WineSession.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

namespace tavlin::e2e {
namespace {

std::filesystem::path FromEnv(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? std::filesystem::path(value) : std::filesystem::path();
}

// Waits for a child; SIGKILL to its process group after `limit`. -1 when it had to be killed.
int Reap(pid_t pid, std::chrono::milliseconds limit, bool* ended) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    int status = 0;
    while (waitpid(pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            kill(-pid, SIGKILL);
            waitpid(pid, &status, 0);
            *ended = false;
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    *ended = true;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

std::string ReadText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::erase(text, '\r');  // Windows line ends
    return text;
}

WineBedSettings WineBedSettings::FromEnvironment() {
    return {FromEnv("TAVLIN_WINE_HID_PREFIX"), FromEnv("TAVLIN_CLI_EXE"),
            FromEnv("TAVLIN_PRESENCE_EXE"), FromEnv("TAVLIN_EXE"),
            FromEnv("TAVLIN_BAND_PROBE_EXE")};
}

std::string WineBedSettings::Missing() const {
    if (prefix.empty() || !std::filesystem::exists(prefix / "system.reg")) {
        return "TAVLIN_WINE_HID_PREFIX names no booted Wine prefix";
    }
    if (cliExe.empty() || !std::filesystem::exists(cliExe)) {
        return "TAVLIN_CLI_EXE names no tavlin-cli.exe";
    }
    if (presenceExe.empty() || !std::filesystem::exists(presenceExe)) {
        return "TAVLIN_PRESENCE_EXE names no presence_under_wine.exe";
    }
    return {};
}

WineSession::WineSession(std::filesystem::path prefix) : prefix_(std::move(prefix)) {}

WineSession::~WineSession() {
    End();
}

pid_t WineSession::Start(const std::filesystem::path& dir, const std::filesystem::path& exe,
                         const std::vector<std::string>& args) {
    std::vector<std::string> command{"wine", exe.string()};
    command.insert(command.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : command) {
        argv.push_back(a.data());
    }
    argv.push_back(nullptr);
    const std::string out = (dir / "out.txt").string();
    const std::string err = (dir / "err.txt").string();
    started_ = true;
    const pid_t pid = fork();
    if (pid == 0) {
        setpgid(0, 0);  // a program that outlives its limit goes with everything it started
        const int in = open("/dev/null", O_RDONLY);
        const int outFd = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
        const int errFd = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
        if (in < 0 || outFd < 0 || errFd < 0 || chdir(dir.c_str()) != 0) {
            _exit(126);
        }
        dup2(in, 0);
        dup2(outFd, 1);
        dup2(errFd, 2);
        setenv("WINEPREFIX", prefix_.c_str(), 1);
        // The program's own (Chinese) texts, whatever the machine's locale.
        setenv("LANG", "zh_CN.UTF-8", 1);
        unsetenv("LC_ALL");
        unsetenv("LANGUAGE");
        execvp(argv[0], argv.data());
        _exit(127);
    }
    return pid;
}

WineRun WineSession::Wait(pid_t pid, const std::filesystem::path& dir,
                          std::chrono::milliseconds limit) {
    WineRun run;
    if (pid <= 0) {
        return run;
    }
    run.exitStatus = Reap(pid, limit, &run.ended);
    run.out = ReadText(dir / "out.txt");
    run.err = ReadText(dir / "err.txt");
    return run;
}

WineRun WineSession::Run(const std::filesystem::path& dir, const std::filesystem::path& exe,
                         const std::vector<std::string>& args, std::chrono::milliseconds limit) {
    return Wait(Start(dir, exe, args), dir, limit);
}

int WineSession::Server(const char* option, std::chrono::milliseconds limit) {
    const pid_t pid = fork();
    if (pid == 0) {
        setpgid(0, 0);
        const int null = open("/dev/null", O_RDWR);
        dup2(null, 0);
        dup2(null, 1);
        dup2(null, 2);
        setenv("WINEPREFIX", prefix_.c_str(), 1);
        execlp("wineserver", "wineserver", option, static_cast<char*>(nullptr));
        _exit(127);
    }
    bool ended = false;
    return pid > 0 ? Reap(pid, limit, &ended) : -1;
}

void WineSession::End() {
    if (!started_) {
        return;
    }
    started_ = false;
    using namespace std::chrono_literals;
    Server("-k", 30s);
    Server("-w", 30s);
}

}  // namespace tavlin::e2e
