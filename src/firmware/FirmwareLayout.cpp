#include "firmware/FirmwareLayout.h"

#include <algorithm>
#include <initializer_list>

#include "firmware/FirmwareControlIds.h"

namespace tavlin {

namespace {

constexpr int kMargin = 26;  // the template's 15 dialog units
constexpr int kGap = 10;
constexpr int kButtonHeight = 28;
constexpr int kLabelHeight = 16;
// The status line spans the window and has room for three lines and the empty one after them.
constexpr int kStatusHeight = 60;

}  // namespace

FwRect FirmwareTemplateRect(int x, int y, int w, int h) {
    auto horizontal = [](int du) { return du * kFirmwareWindowWidth / 320; };
    auto vertical = [](int du) { return du * kFirmwareWindowHeight / 200; };
    return {horizontal(x), vertical(y), horizontal(w), vertical(h)};
}

FirmwarePlan PlanFirmwareWindow(const std::map<int, int>& needed) {
    using namespace fwcontrol;
    // A control is as wide as its template makes it, or as its caption needs.
    auto widest = [&](int templateWidth, std::initializer_list<int> ids) {
        int width = templateWidth;
        for (int id : ids) {
            if (auto it = needed.find(id); it != needed.end()) {
                width = std::max(width, it->second);
            }
        }
        return width;
    };
    const int left =
        widest(FirmwareTemplateRect(0, 0, 42, 0).w,
               {fwslot::kProgressLabel, kChoosePackage, fwslot::kImageLabel, fwslot::kFpgaLabel});
    const int right = widest(FirmwareTemplateRect(0, 0, 50, 0).w,
                             {kSwitchMode, kOneKeyUpdate, kFpgaUpdate, kExit});
    const int info = widest(FirmwareTemplateRect(0, 0, 72, 0).w,
                            {kReadImageInfo, kWriteImageInfo, kReadFpgaInfo, kWriteFpgaInfo});
    const int browse = widest(FirmwareTemplateRect(0, 0, 19, 0).w, {kChooseFpga});
    const int middleMin = FirmwareTemplateRect(0, 0, 166, 0).w;

    FirmwarePlan plan;
    plan.width =
        std::max({kFirmwareWindowWidth, kMargin + left + kGap + middleMin + kGap + right + kMargin,
                  kMargin + info + kGap + info + kGap + right + kMargin});
    const int rightX = plan.width - kMargin - right;
    const int middleX = kMargin + left + kGap;
    const int middleWidth = rightX - kGap - middleX;

    auto row = [](int templateY) { return FirmwareTemplateRect(0, templateY, 0, 0).y; };
    auto& at = plan.at;
    at[kStatusLine] = {kMargin, row(32), plan.width - 2 * kMargin, kStatusHeight};
    at[kSwitchMode] = {rightX, row(66), right, kButtonHeight};
    at[fwslot::kProgressLabel] = {kMargin, row(84), left, kLabelHeight};
    at[kProgress] = {middleX, row(82), middleWidth, kButtonHeight};
    at[kChoosePackage] = {kMargin, row(117), left, kButtonHeight};
    at[kPackagePath] = {middleX, row(117), middleWidth, kButtonHeight};
    at[kOneKeyUpdate] = {rightX, row(117), right, kButtonHeight};
    at[kPackageSigner] = {middleX, row(117) + kButtonHeight + 2, middleWidth, kLabelHeight};
    at[fwslot::kImageLabel] = {kMargin, row(136), left, kLabelHeight};
    at[fwslot::kFpgaLabel] = {kMargin, row(148), left, kLabelHeight};
    at[kFpgaPath] = {middleX, row(146), middleWidth - kGap - browse, kButtonHeight};
    at[kChooseFpga] = {rightX - kGap - browse, row(145), browse, kButtonHeight};
    at[kFpgaUpdate] = {rightX, row(144), right, kButtonHeight};
    at[kReadImageInfo] = {kMargin, row(161), info, kButtonHeight};
    at[kWriteImageInfo] = {kMargin, row(185), info, kButtonHeight};
    at[kReadFpgaInfo] = {kMargin + info + kGap, row(161), info, kButtonHeight};
    at[kWriteFpgaInfo] = {kMargin + info + kGap, row(184), info, kButtonHeight};
    at[kExit] = {rightX, row(164), right, kButtonHeight};
    at[kOk] = {rightX, row(181), right, kButtonHeight};
    return plan;
}

FwRect PlaceFirmwareStatusLine(int clientWidth, int clientHeight, int width, int height) {
    return {clientWidth / 2 - width / 2, clientHeight / 6, width, height};
}

}  // namespace tavlin
