#pragma once

namespace tavlin {

// A source of device add/remove notices behind a file descriptor that becomes readable when
// something arrived: the window puts fd() into its event loop, the CLI into a HotplugThread.
class HotplugSource {
  public:
    virtual ~HotplugSource() = default;
    virtual int fd() const = 0;
    // Takes everything that arrived; true when a device was added or removed.
    virtual bool DrainEvents() = 0;
};

}  // namespace tavlin
