#pragma once
// A complete reply frame as the parser hands it over: a snapshot taken when the frame completed, so
// a later byte, a flush or a channel switch never changes what is decoded.
#include <cstdint>
#include <vector>

namespace sq {

struct ReplyFrame {
    uint8_t Command = 0;
    uint16_t Length = 0;        // data bytes
    std::vector<uint8_t> Data;  // exactly Length bytes
    int Channel = 0;            // channel index it was parsed on
};

}  // namespace sq
