#include "cli/CliOutput.h"
#include "cli/OutputFlush.h"

namespace tavlin::cli {

void CliOutput::LineTo(std::FILE* to, const std::string& text) {
    std::lock_guard lock(mutex_);
    std::fputs(text.c_str(), to);
    if (text.empty() || text.back() != '\n') {
        std::fputc('\n', to);
    }
    FlushOutput(to);
    KeepLocked(text);
}

void CliOutput::Keep(const std::string& text) {
    std::lock_guard lock(mutex_);
    KeepLocked(text);
}

void CliOutput::KeepLocked(const std::string& text) {
    const bool endsLine = !text.empty() && text.back() == '\n';
    messages_.push_back(endsLine ? text.substr(0, text.size() - 1) : text);
}

std::vector<std::string> CliOutput::messages() const {
    std::lock_guard lock(mutex_);
    return messages_;
}

}  // namespace tavlin::cli
