#pragma once
#include <functional>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "console/ConsoleView.h"

namespace tavlin {

// A view that keeps what an operation shows until its record is committed, then hands it on in
// the order it came: the operator must never see a result whose record is not yet kept.
class HeldView : public ConsoleView {
  public:
    void AppendOutputText(const std::string& text) override {
        Keep([text](ConsoleView& v) { v.AppendOutputText(text); });
    }
    void PostCmdDone() override {
        Keep([](ConsoleView& v) { v.PostCmdDone(); });
    }
    void SetStatusText(const std::string& text) override {
        Keep([text](ConsoleView& v) { v.SetStatusText(text); });
    }
    void SetVersionText(const std::string& text) override {
        Keep([text](ConsoleView& v) { v.SetVersionText(text); });
    }
    void SetControlCaption(int controlId, const std::string& text) override {
        Keep([controlId, text](ConsoleView& v) { v.SetControlCaption(controlId, text); });
    }
    void HideControls(const std::vector<int>& controlIds) override {
        Keep([controlIds](ConsoleView& v) { v.HideControls(controlIds); });
    }

    // Hands every kept call on to `to`, oldest first.
    void Release(ConsoleView& to) {
        std::vector<std::function<void(ConsoleView&)>> calls;
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            calls.swap(calls_);
        }
        for (const auto& call : calls) {
            call(to);
        }
    }

  private:
    void Keep(std::function<void(ConsoleView&)> call) {
        const std::lock_guard<std::mutex> lock(mutex_);
        calls_.push_back(std::move(call));
    }

    std::mutex mutex_;
    std::vector<std::function<void(ConsoleView&)>> calls_;
};

}  // namespace tavlin
