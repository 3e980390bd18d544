#pragma once
#include <cstddef>
#include <cstdint>

namespace tavlin {

// Sees every input report a link takes off its node, on the transferring thread. Must be quick:
// it runs inside the exchange.
class LinkTap {
  public:
    virtual ~LinkTap() = default;
    virtual void Received(const uint8_t* report, size_t length) = 0;
};

}  // namespace tavlin
