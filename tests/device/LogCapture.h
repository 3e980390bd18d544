#pragma once
// Points the log at a fresh temporary file for one test and reads it back.
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "base/Log.h"

namespace tavlin::testing {

class LogCapture {
  public:
    LogCapture() {
        path_ = std::filesystem::temp_directory_path() /
                ("tavlin_test_log_" + std::to_string(::getpid()) + "_" +
                 std::to_string(counter()++) + ".txt");
        std::filesystem::remove(path_);
        SetLogFilePath(path_.string());
    }
    ~LogCapture() {
        SetLogFilePath("Tavlin_log.txt");
        std::filesystem::remove(path_);
    }
    std::string Text() const {
        std::ifstream in(path_, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    bool Contains(const std::string& needle) const {
        return Text().find(needle) != std::string::npos;
    }

  private:
    static int& counter() {
        static int n = 0;
        return n;
    }
    std::filesystem::path path_;
};

}  // namespace tavlin::testing
