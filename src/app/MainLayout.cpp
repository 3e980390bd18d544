#include "app/MainLayout.h"

namespace tavlin {

namespace {
constexpr int kMargin = 12;
constexpr int kLabelGap = 6;
}  // namespace

std::map<int, Point> MainWindowLayout(int W, int H, const std::map<int, Size>& sizes) {
    auto size = [&](int id) {
        auto it = sizes.find(id);
        return it == sizes.end() ? Size{} : it->second;
    };
    std::map<int, Point> at;
    at[1060] = {W / 2 - size(1060).w / 2, H / 4};
    at[1061] = {W / 2 - size(1061).w / 2, H / 3};
    at[1022] = {W / 6, H / 2 + size(1022).h + 20};
    at[1023] = {W / 6, H / 2 + 2 * size(1023).h + 40};
    at[1025] = {W / 6, H / 2 + 3 * size(1025).h + 60};  // shown with the engineering console
    at[1027] = {W / 6 + W / 2, H / 2 + size(1027).h + 20};
    at[1028] = {W / 6 + W / 2, H / 2 + 2 * size(1028).h + 40};
    const Size toggle = size(1065);
    const Size label = size(1066);
    at[1065] = {W - kMargin - toggle.w, kMargin};
    at[1066] = {at[1065].x - kLabelGap - label.w, kMargin + (toggle.h - label.h) / 2};
    return at;
}

}  // namespace tavlin
