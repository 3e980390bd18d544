#include "CliChild.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <thread>

namespace tavlin::e2e {

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

ChildResult RunCli(const std::filesystem::path& dir, std::vector<std::string> args,
                   std::chrono::milliseconds limit, const std::function<bool()>& inChild) {
    const std::string out = (dir / "out.txt").string();
    const std::string err = (dir / "err.txt").string();
    std::vector<std::string> command{std::string(TAVLIN_CLI_PATH)};
    command.insert(command.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : command) {
        argv.push_back(a.data());
    }
    argv.push_back(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        const int outFd = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
        const int errFd = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
        if (outFd < 0 || errFd < 0 || chdir(dir.c_str()) != 0 || (inChild && !inChild())) {
            _exit(126);
        }
        dup2(outFd, 1);
        dup2(errFd, 2);
        execv(argv[0], argv.data());
        _exit(127);
    }
    ChildResult result;
    if (pid < 0) {
        return result;
    }
    const auto deadline = std::chrono::steady_clock::now() + limit;
    int status = 0;
    while (waitpid(pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            return result;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    result.ended = true;
    result.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.out = ReadFile(out);
    result.err = ReadFile(err);
    return result;
}

}  // namespace tavlin::e2e
