#pragma once
// The channel table: up to ten links, each a COM port with its receive buffer and reply parser.
// One channel is current; every send, read, flush and parse works on it, and does nothing while
// CurrentChannel is below 1.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/runtime.h"  // Delay, DoEvents
#include "shared/reply_frame.h"

namespace sq {

class ComPortAPI;

constexpr int MaxChannels = 10;
constexpr int MaxReplyLength = 540;
constexpr uint8_t RequestStart = 0x02;
constexpr uint8_t ReplyStart = 0x03;
// A frame still incomplete after this long without a new byte is dropped: the longest reply takes
// under 0.1 s at 57,600 baud, so its missing bytes will not come.
constexpr double kStaleFrameSeconds = 0.5;
// A receive buffer never holds more: beyond it the oldest bytes are dropped. No instrument's
// replies come near it; only a line that floods faster than the pump parses reaches it.
constexpr size_t kMaxRxBuffer = 64 * 1024;

// The reply parser's state. Data(k) is data byte k of the reply being parsed or completed last;
// bytes beyond its Length are left from earlier replies.
struct ParseState {
    uint8_t State = 0;  // 0 start byte, 1 command, 2 length high, 3 length low, 4 data, 5 checksum
    uint8_t Cmd = 0;
    int16_t Length = 0;
    int16_t Pos = 0;  // index in the receive buffer of the next byte to take
    uint8_t Check = 0;
    std::array<uint8_t, 4097> Data{};
};

struct ChannelRecord {
    int16_t PortNumber = 0;  // 0 while free
    std::string PortName;    // "COM" & n
    std::string Settings;
    bool PortOpen = false;  // copied from the port object by Timer1
    bool Listed = false;    // entered in the instrument list
    ParseState Parse;
    std::vector<uint8_t> RxBuffer;  // received, not yet consumed by the parser
    // The buffer's size when the parser last looked, and since when no byte has arrived.
    size_t RxSizeSeen = 0;
    double RxQuietSince = 0;
};

// Indexes 1 to MaxChannels; element 0 is unused.
extern std::array<ChannelRecord, MaxChannels + 1> Channels;
extern int16_t ChannelCount;    // channels opened so far; only grows
extern int16_t CurrentChannel;  // 1 to 10; below 1: no current channel
extern ParseState ParseTemplate;

// Back to the state at program start: empty table, no current channel (tests).
void ResetChannelTable();

// XOR of frame(1) to frame(L + 2), L = frame(1) * 256 + frame(2). Raises VbError(9) when the frame
// is shorter than its length says.
uint8_t FrameChecksum(const std::vector<uint8_t>& frame);

// Takes bytes of rx (the current channel's receive buffer) into the current channel's parser.
// 1 when a reply with a good checksum completed in this call (its bytes are then trimmed off the
// front of rx and, when `completed` is given, a snapshot is stored there), else 0. At most one
// frame per call. A bad start byte, a length over 540 or a bad checksum drops all of rx. A reply of
// length 0 is skipped without a report.
int ParseReplyFrame(std::vector<uint8_t>& rx, ReplyFrame* completed = nullptr);
// The same on the current channel's own buffer (0 without a current channel). A frame that waits
// for more bytes while none has arrived for kStaleFrameSeconds is dropped, with all of the buffer,
// and the parser starts over, so the next reply is parsed at once and an idle line shows idle.
int ParseReplyFrame(ReplyFrame* completed = nullptr);
// Fills ParseTemplate's Cmd, Length and Data from a completed frame (what the decoder reads).
void LoadParseTemplate(const ReplyFrame& frame);

// Appends everything waiting on the current channel's port to that channel's RxBuffer; returns
// CommRead's count (0 without a current channel). A buffer that grows past kMaxRxBuffer keeps only
// its newest bytes, from a start byte on, and its parser starts over.
int32_t ReadChannel(ComPortAPI& api);
// Writes the frame to the current channel's port: the count written, 0 without a current channel,
// -1 when the port failed.
int32_t WriteChannel(ComPortAPI& api, const std::vector<uint8_t>& frame);
// Purges the current channel's port, empties its RxBuffer and starts its parser over.
void FlushChannel(ComPortAPI& api);
// Adds a channel on `port` (reopening the port, even if that fails); false and the message box
// "Open Port Error" when ten channels were already opened in this run.
bool OpenChannel(ComPortAPI& api, int port, const std::string& settings);
// Whether a port is open, or recorded open (PortOpen) on any channel.
bool AnyPortOpen(ComPortAPI& api);
// Closes every channel's port and clears its fields; ChannelCount, PortOpen and Listed stay.
void CloseAllChannels(ComPortAPI& api);
// Every channel's parser (open or not) back to state 0, from a cleared ParseTemplate.
void ResetParseStates();
// ParseTemplate's Data bytes to 0.
void ClearParseTemplate();

// What the port scan fills: the port setup window's list and progress bar.
class PortScanView {
public:
    virtual ~PortScanView() = default;
    virtual void clearList() = 0;
    virtual void addListItem(const std::string& text) = 0;
    virtual void setProgressMax(int max) = 0;
    [[nodiscard]] virtual int progressMax() const = 0;
    virtual void setProgressValue(int value) = 0;
};
// Probes COM1 to COM256 (only those that resolve to an existing device) and lists each one that
// could be created as "COM  n"; ports already open in this program are skipped and stay open.
void ScanComPorts(ComPortAPI& api, PortScanView& view);
// The same, returning the list's items.
std::vector<std::string> ScanComPorts(ComPortAPI& api);

// Bytes 0 to lastIndex as text: "chr" the characters (Latin-1, returned as UTF-8), "hex" upper-case
// hex without leading zeros or separators, "asc" the decimal text of the sum of the codes of the
// first digit of each byte's decimal text; any other mode, or a lastIndex past the end, gives "".
std::string BytesToText(const std::vector<uint8_t>& bytes, int lastIndex, const std::string& mode);

}  // namespace sq
