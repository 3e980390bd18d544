// Stands in for tavlin-cli as `--all` runs it for one device, to end the ways a real copy seldom
// does on demand. Its arguments are those --all hands a copy: `PORT=HOW`... then `--device PORT`,
// `--json` and `--log-dir`. Every copy first prints a line that is no object, as the last line
// is the one that counts. The HOW given for its own port:
//   ok        its object says success; exit 0
//   failed    its object says failure; exit 1
//   silent    no object; exit 0
//   silent-3  no object; exit 3
//   liar      its object says success; exit 3
//   killed    its object says success, then it ends as by a fault before exiting: SIGKILL on
//             POSIX, on Windows the exit code of an access violation
#include <cstdio>
#include <string>
#include <vector>

#include "platform/CommandLine.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <csignal>
#endif

namespace {

void Object(int exit) {
    std::printf("{\"exit\":%d,\"result\":\"%s\",\"reason\":\"%s\"}\n", exit,
                exit == 0 ? "ok" : "failed", exit == 0 ? "" : "as told");
    std::fflush(stdout);
}

int Run(const std::vector<std::string>& args) {
    std::string port;
    for (size_t i = 1; i + 1 < args.size(); ++i) {
        if (args[i] == "--device") {
            port = args[i + 1];
        }
    }
    std::string how;
    for (const std::string& arg : args) {
        if (!port.empty() && arg.rfind(port + "=", 0) == 0) {
            how = arg.substr(port.size() + 1);
        }
    }
    std::fprintf(stderr, "%s\n", how.c_str());
    std::printf("working\n");
    std::fflush(stdout);
    if (how == "ok" || how == "liar" || how == "killed") {
        Object(0);
    } else if (how == "failed") {
        Object(1);
    }
    if (how == "killed") {
#ifdef _WIN32
        TerminateProcess(GetCurrentProcess(), 0xC0000005u);
#else
        std::raise(SIGKILL);
#endif
    }
    if (how == "ok" || how == "silent") {
        return 0;
    }
    if (how == "failed") {
        return 1;
    }
    return how == "liar" || how == "silent-3" ? 3 : 98;
}

}  // namespace

#ifdef _WIN32
int wmain(int argc, wchar_t** argv) {
    return Run(tavlin::Utf8Arguments(argc, argv).all());
}
#else
int main(int argc, char** argv) {
    return Run(tavlin::Utf8Arguments(argc, argv).all());
}
#endif
