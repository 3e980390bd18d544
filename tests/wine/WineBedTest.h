#pragma once
// What every case under Wine sets up: the umockdev bed serving Wine's HID stack, a Wine session
// of the case's own, and a folder for the programs' files (kept when the case failed).
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>

#include "UmockdevFixture.h"
#include "WineSession.h"

namespace tavlin::e2e {

class WineBedTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // The folder's name under the system's temporary folder.
    virtual std::string FolderName() const = 0;
    // What else the case needs before anything starts: it may fail or skip the case there.
    virtual void CheckMore() {}

    WineBedSettings settings = WineBedSettings::FromEnvironment();
    std::filesystem::path dir;
    std::unique_ptr<UmockdevBed> bed;
    std::unique_ptr<WineSession> session;
};

// How often `needle` stands in `text`.
size_t CountOf(const std::string& text, const std::string& needle);

// Looks at `read()` every `every` until it holds `line` `count` times; false after `limit`.
template <typename Read>
bool WaitForLines(Read read, const std::string& line, size_t count, std::chrono::milliseconds every,
                  std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (CountOf(read(), line) < count) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(every);
    }
    return true;
}

}  // namespace tavlin::e2e
