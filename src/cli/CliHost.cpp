#include "cli/CliHost.h"

#include <chrono>

namespace tavlin::cli {

void CliHost::Print(const std::string& text, std::FILE* to) {
    if (text.empty()) {
        return;
    }
    if (progress_ != nullptr) {
        progress_->Interrupt();
    }
    out_.LineTo(to, text);  // one line per pane line, also for texts without a line feed
}

void CliHost::PostCmdDone() {
    {
        std::lock_guard lock(mutex_);
        ++cmdDone_;
    }
    cv_.notify_all();
}

void CliHost::AppendOutputText(const std::string& text) {
    {
        std::lock_guard lock(mutex_);
        lastPane_ = text;
        Print(text);
    }
}

void CliHost::SetReadValueText(const std::string& text) {
    std::lock_guard lock(mutex_);
    readValue_ = text;
}

// The window's status line shows one text; writing the same text again changes nothing there,
// so nothing is printed again either.
void CliHost::SetStatusText(const std::string& text) {
    std::lock_guard lock(mutex_);
    if (text != status_) {
        status_ = text;
        Print(text);
    }
}

void CliHost::SetNoAccessStatus(const std::string& text) {
    std::lock_guard lock(mutex_);
    if (text != status_) {
        status_ = text;
        Print(text, err_);
    }
}

// How a versions line starts, as the version query writes it (never translated).
constexpr char kVersionsShown[] = "IMAGE Version: M--";

void CliHost::SetVersionText(const std::string& text) {
    std::lock_guard lock(mutex_);
    version_ = text;
    if (firstVersions_.empty() && text.rfind(kVersionsShown, 0) == 0) {
        firstVersions_ = text;
    }
    Print(text);
}

std::string CliHost::firstVersionsShown() const {
    std::lock_guard lock(mutex_);
    return firstVersions_;
}

void CliHost::SetControlCaption(int, const std::string&) {}
void CliHost::HideControls(const std::vector<int>&) {}
void CliHost::SetModeToggleCaption(const std::string&) {}
void CliHost::SetFirmwareStatusText(const std::string& text) {
    std::lock_guard lock(mutex_);
    firmwareStatus_ = text;
    Print(text);
}

int CliHost::cmdDoneCount() const {
    std::lock_guard lock(mutex_);
    return cmdDone_;
}

bool CliHost::WaitCmdDone(int seen, int timeoutMs) const {
    std::unique_lock lock(mutex_);
    return cv_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                        [&] { return cmdDone_ > seen; });
}

std::string CliHost::lastPaneText() const {
    std::lock_guard lock(mutex_);
    return lastPane_;
}

std::string CliHost::readValue() const {
    std::lock_guard lock(mutex_);
    return readValue_;
}

std::string CliHost::versionText() const {
    std::lock_guard lock(mutex_);
    return version_;
}

std::string CliHost::firmwareStatus() const {
    std::lock_guard lock(mutex_);
    return firmwareStatus_;
}

}  // namespace tavlin::cli
