#pragma once
// The firmware worker and window behaviour against the simulated device, on top of the console
// fixture (real command thread, short transfer time-out, a directory of the test's own).
#include <mutex>
#include <string>
#include <vector>

#include "console/ConsoleFixture.h"
#include "firmware/FirmwareView.h"

namespace tavlin::testing {

class RecordingFirmwareView : public FirmwareView {
  public:
    void SetFirmwareStatus(const std::string& text) override {
        std::lock_guard lock(mutex_);
        status_.push_back(text);
    }
    void SetProgress(int position) override {
        std::lock_guard lock(mutex_);
        progress_.push_back(position);
    }
    void SetMainVersionText(const std::string& text) override {
        std::lock_guard lock(mutex_);
        version_ = text;
    }
    std::vector<std::string> status() const {
        std::lock_guard lock(mutex_);
        return status_;
    }
    std::string lastStatus() const {
        std::lock_guard lock(mutex_);
        return status_.empty() ? std::string() : status_.back();
    }
    std::vector<int> progress() const {
        std::lock_guard lock(mutex_);
        return progress_;
    }
    std::string version() const {
        std::lock_guard lock(mutex_);
        return version_;
    }

  private:
    mutable std::mutex mutex_;
    std::vector<std::string> status_;
    std::vector<int> progress_;
    std::string version_;
};

// Bytes 0, 1, 2, ... (mod 251, so no two 62-byte packets look alike).
inline std::string PatternBytes(size_t size, int seed) {
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<char>((i + seed) % 251);
    }
    return bytes;
}

struct SectionSpec {
    int enable = 1;
    uint32_t version = 0;
    std::string name;
};

inline std::string PackageText(const std::vector<std::pair<std::string, SectionSpec>>& sections) {
    std::string text;
    for (const auto& [name, s] : sections) {
        text += "[" + name + "]\nImage_en=" + std::to_string(s.enable) +
                "\nImage_version=" + std::to_string(s.version) + "\nImage_name=" + s.name + "\n";
    }
    return text;
}

}  // namespace tavlin::testing
