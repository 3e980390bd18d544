#include "sim/FpgaRegisterFile.h"

namespace tavlin::sim {

void FpgaRegisterFile::Write(uint16_t addr, const uint8_t* data, size_t length) {
    if (length == 0) {
        return;
    }
    latch_[addr] = data[length - 1];
    if (length == 1) {
        return;
    }
    std::deque<uint8_t>& stream = streams_[addr];
    stream.insert(stream.end(), data, data + length);
    while (stream.size() > kStreamLimit) {
        stream.pop_front();
    }
}

void FpgaRegisterFile::Read(uint16_t addr, uint8_t* out, size_t length) {
    if (length == 1) {
        out[0] = latch_[addr];
        return;
    }
    auto it = streams_.find(addr);
    for (size_t i = 0; i < length; ++i) {
        if (it != streams_.end() && !it->second.empty()) {
            out[i] = it->second.front();
            it->second.pop_front();
        } else {
            out[i] = latch_[addr];
        }
    }
}

size_t FpgaRegisterFile::StreamSize(uint16_t addr) const {
    auto it = streams_.find(addr);
    return it == streams_.end() ? 0 : it->second.size();
}

}  // namespace tavlin::sim
