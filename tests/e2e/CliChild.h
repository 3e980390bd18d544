#pragma once
// The real tavlin-cli as a child process in the mock environment it inherits from the test.
#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace tavlin::e2e {

struct ChildResult {
    bool ended = false;
    int exitStatus = -1;
    std::string out;  // what it wrote to stdout
    std::string err;  // what it wrote to stderr
};

// Runs the CLI in `dir` (stdout to out.txt, stderr to err.txt there); kills it when it outlives
// `limit`. `inChild` runs in the child before the exec; a false return ends the child with 126.
ChildResult RunCli(const std::filesystem::path& dir, std::vector<std::string> args,
                   std::chrono::milliseconds limit, const std::function<bool()>& inChild = {});

std::string ReadFile(const std::filesystem::path& path);

}  // namespace tavlin::e2e
