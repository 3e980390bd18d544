#pragma once
#include <memory>

#include "device/HidTransport.h"

namespace tavlin {

// The transport to real devices on this platform, chosen when the program is built: hidapi on
// Linux (HidapiTransport.cpp), the Win32 HID API on Windows (WinHidSystemApi.cpp).
std::unique_ptr<HidTransport> CreateSystemTransport();

}  // namespace tavlin
