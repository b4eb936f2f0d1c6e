#include "link/channels.h"

#include <algorithm>
#include <cstdio>

#include "link/com_port_api.h"
#include "platform/com_ports.h"
#include "platform/dialogs.h"
#include "platform/encoding.h"
#include "platform/numbers.h"
#include "platform/vb_error.h"

namespace sq {

std::array<ChannelRecord, MaxChannels + 1> Channels;
int16_t ChannelCount = 0;
int16_t CurrentChannel = 0;
ParseState ParseTemplate;

namespace {

constexpr const char* kScanSettings = "baud=9600 parity=N data=8 stop=1";

ChannelRecord* currentChannel() {
    if (CurrentChannel < 1 || CurrentChannel > MaxChannels) return nullptr;
    return &Channels[static_cast<size_t>(CurrentChannel)];
}

void restartParser(ParseState& p) {
    p.State = 0;
    p.Cmd = 0;
    p.Length = 0;
    p.Pos = 0;
    p.Check = 0;
}

// Drops the completed frame (through the checksum at p.Pos) off the front of rx.
void trimThroughChecksum(std::vector<uint8_t>& rx, const ParseState& p) {
    rx.erase(rx.begin(), rx.begin() + p.Pos + 1);
}

// A flooded buffer: the newest kMaxRxBuffer bytes stay, from their first start byte on, and the
// parser starts over on them (its position pointed into the bytes dropped).
void keepNewestBytes(ChannelRecord& c) {
    auto& rx = c.RxBuffer;
    auto from = std::find(rx.end() - static_cast<std::ptrdiff_t>(kMaxRxBuffer), rx.end(), ReplyStart);
    rx.erase(rx.begin(), from);
    restartParser(c.Parse);
}

void takeSnapshot(const ParseState& p, int channel, ReplyFrame& frame) {
    frame.Command = p.Cmd;
    frame.Length = static_cast<uint16_t>(p.Length);
    frame.Data.assign(p.Data.begin(), p.Data.begin() + p.Length);
    frame.Channel = channel;
}

// State 4: takes as many data bytes as have arrived, up to the frame's last data byte.
void takeDataBytes(ParseState& p, const std::vector<uint8_t>& rx) {
    size_t end = std::min(static_cast<size_t>(p.Length) + 4, rx.size());
    uint8_t check = p.Check;
    for (size_t i = static_cast<size_t>(p.Pos); i < end; ++i) {
        check ^= rx[i];
        p.Data[i - 4] = rx[i];
    }
    p.Check = check;
    p.Pos = static_cast<int16_t>(end);
    if (p.Pos == p.Length + 4) p.State = 5;
}

}  // namespace

void ResetChannelTable() {
    for (auto& c : Channels) c = ChannelRecord{};
    ChannelCount = 0;
    CurrentChannel = 0;
    ParseTemplate = ParseState{};
}

uint8_t FrameChecksum(const std::vector<uint8_t>& frame) {
    if (frame.size() < 3) raise(kSubscriptOutOfRange);
    size_t last = static_cast<size_t>(frame[1]) * 256 + frame[2] + 2;
    if (last >= frame.size()) raise(kSubscriptOutOfRange);
    uint8_t check = 0;
    for (size_t i = 1; i <= last; ++i) check ^= frame[i];
    return check;
}

namespace {

// What one parser step leaves: go on with the next byte, or end the call with this result.
enum class Step { Next, NoFrame, Frame };

// Drops everything received: the parser waits for a new start byte.
Step dropAll(ParseState& p, std::vector<uint8_t>& rx) {
    rx.clear();
    p.State = 0;
    return Step::NoFrame;
}

Step takeStart(ParseState& p, std::vector<uint8_t>& rx) {
    p.Pos = 0;
    if (rx[0] != ReplyStart) return dropAll(p, rx);
    p.State = 1;
    p.Pos = 1;
    p.Check = 0;
    return Step::Next;
}

// States 1 to 3: command, length high byte, length low byte.
Step takeHeaderByte(ParseState& p, std::vector<uint8_t>& rx, uint8_t byte) {
    if (p.State == 1) p.Cmd = byte;
    // A high byte of 0x80 or more would not even fit the 16-bit length: too long, like any over 540.
    if (p.State == 2 && byte * 256 > MaxReplyLength) return dropAll(p, rx);
    if (p.State == 2) p.Length = static_cast<int16_t>(byte * 256);
    if (p.State == 3) p.Length = static_cast<int16_t>(p.Length + byte);
    p.Check ^= byte;
    ++p.Pos;
    if (p.State < 3) {
        ++p.State;
        return Step::Next;
    }
    if (p.Length > MaxReplyLength) return dropAll(p, rx);
    p.State = p.Length == 0 ? 5 : 4;
    return Step::Next;
}

Step takeChecksum(ParseState& p, std::vector<uint8_t>& rx, uint8_t byte, ReplyFrame* completed) {
    p.State = 0;
    if (p.Length == 0) {  // no such reply exists: skip it and go on after its checksum
        trimThroughChecksum(rx, p);
        return Step::NoFrame;
    }
    if (byte != p.Check) return dropAll(p, rx);
    if (completed) takeSnapshot(p, CurrentChannel, *completed);
    trimThroughChecksum(rx, p);
    return Step::Frame;
}

Step parseStep(ParseState& p, std::vector<uint8_t>& rx, ReplyFrame* completed) {
    if (p.State == 0) return takeStart(p, rx);
    // State 4 waits here for more bytes; the others always find theirs (six bytes at least).
    if (p.Pos < 0 || static_cast<size_t>(p.Pos) >= rx.size()) return Step::NoFrame;
    const uint8_t byte = rx[static_cast<size_t>(p.Pos)];
    switch (p.State) {
        case 1:
        case 2:
        case 3:
            return takeHeaderByte(p, rx, byte);
        case 4:
            if (p.Length < 1 || p.Length > MaxReplyLength) break;
            takeDataBytes(p, rx);
            return Step::Next;
        case 5:
            return takeChecksum(p, rx, byte, completed);
        default:
            break;
    }
    restartParser(p);
    return Step::NoFrame;
}

}  // namespace

int ParseReplyFrame(std::vector<uint8_t>& rx, ReplyFrame* completed) {
    ChannelRecord* c = currentChannel();
    if (!c || rx.size() < 6) return 0;
    // Every step takes at least one byte or ends the call, so at most size + 1 steps run.
    for (size_t pass = 0, passes = rx.size() + 1; pass < passes; ++pass) {
        Step step = parseStep(c->Parse, rx, completed);
        if (step != Step::Next) return step == Step::Frame ? 1 : 0;
    }
    return 0;
}

namespace {

// True when the parser can go no further without more bytes: fewer than six bytes, or a frame
// whose data or checksum has not all arrived.
bool awaitsBytes(const ChannelRecord& c) {
    const size_t size = c.RxBuffer.size();
    if (size == 0) return false;
    if (size < 6) return true;
    const ParseState& p = c.Parse;
    return (p.State == 4 || p.State == 5) && p.Pos >= 0 && static_cast<size_t>(p.Pos) >= size;
}

}  // namespace

int ParseReplyFrame(ReplyFrame* completed) {
    ChannelRecord* c = currentChannel();
    if (!c) return 0;
    // The clock is read only when bytes came or a frame waits for more: an idle line costs nothing.
    if (c->RxBuffer.size() != c->RxSizeSeen) c->RxQuietSince = Runtime::get().now();
    const int result = ParseReplyFrame(c->RxBuffer, completed);
    if (result == 0 && awaitsBytes(*c) && Runtime::get().now() - c->RxQuietSince >= kStaleFrameSeconds) {
        c->RxBuffer.clear();
        restartParser(c->Parse);
    }
    c->RxSizeSeen = c->RxBuffer.size();
    return result;
}

void LoadParseTemplate(const ReplyFrame& frame) {
    ParseTemplate.Cmd = frame.Command;
    ParseTemplate.Length = static_cast<int16_t>(frame.Length);
    size_t n = std::min(frame.Data.size(), ParseTemplate.Data.size());
    std::copy_n(frame.Data.begin(), n, ParseTemplate.Data.begin());
}

int32_t ReadChannel(ComPortAPI& api) {
    int channel = CurrentChannel;
    if (!currentChannel()) return 0;
    std::vector<uint8_t> bytes;
    int32_t n = api.CommRead(Channels[static_cast<size_t>(channel)].PortNumber, bytes, 4096);
    // The bytes belong to the channel whose port was read, even if events switched channels.
    if (n > 0) {
        ChannelRecord& c = Channels[static_cast<size_t>(channel)];
        c.RxBuffer.insert(c.RxBuffer.end(), bytes.begin(), bytes.end());
        if (c.RxBuffer.size() > kMaxRxBuffer) keepNewestBytes(c);
    }
    return n;
}

int32_t WriteChannel(ComPortAPI& api, const std::vector<uint8_t>& frame) {
    ChannelRecord* c = currentChannel();
    return c ? api.CommWrite(c->PortNumber, frame) : 0;
}

void FlushChannel(ComPortAPI& api) {
    ChannelRecord* c = currentChannel();
    if (!c) return;
    api.CommFlush(c->PortNumber);
    c = currentChannel();
    if (!c) return;
    c->RxBuffer.clear();
    // A frame half parsed at the flush would otherwise swallow the next reply.
    restartParser(c->Parse);
}

bool OpenChannel(ComPortAPI& api, int port, const std::string& settings) {
    if (ChannelCount >= MaxChannels) {
        msgBox("Open Port Error", MsgButtons::OK, MsgIcon::Critical);
        return false;
    }
    try {
        int16_t number = toInt16(port);
        std::string name = "COM" + std::to_string(number);
        api.CommClose(number);
        api.CommOpen(number, name, settings);
        ResetParseStates();
        ++ChannelCount;
        ChannelRecord& c = Channels[static_cast<size_t>(ChannelCount)];
        c.PortNumber = number;
        c.PortName = name;
        c.Settings = settings;
        c.RxBuffer.clear();
        return true;
    } catch (const VbError&) {
        msgBox("Open Port Error", MsgButtons::OK, MsgIcon::Critical);
        return false;
    }
}

bool AnyPortOpen(ComPortAPI& api) {
    for (size_t i = 1; i <= MaxChannels; ++i)
        if (Channels[i].PortOpen) return true;
    return api.AnyOpen();
}

void CloseAllChannels(ComPortAPI& api) {
    for (int i = 1; i <= ChannelCount && i <= MaxChannels; ++i) {
        ChannelRecord& c = Channels[static_cast<size_t>(i)];
        api.CommClose(c.PortNumber);
        c.PortNumber = 0;
        c.PortName.clear();
        c.Settings.clear();
        c.Parse = ParseState{};
        c.RxBuffer.clear();
    }
}

void ResetParseStates() {
    ClearParseTemplate();
    restartParser(ParseTemplate);
    for (size_t i = 1; i <= MaxChannels; ++i) Channels[i].Parse = ParseTemplate;
}

void ClearParseTemplate() {
    ParseTemplate.Data.fill(0);
}

void ScanComPorts(ComPortAPI& api, PortScanView& view) {
    view.setProgressMax(ComPortAPI::kMaxPorts);
    view.clearList();
    for (int n = 1; n <= view.progressMax(); ++n) {
        try {
            view.setProgressValue(n);
            if (!comPortExists(n)) continue;
            std::string name = "COM" + std::to_string(n);
            int32_t result = api.CommOpen(n, name, kScanSettings);
            if (api.IsActivity(n) < 1 || result == -2) continue;
            view.addListItem("COM  " + std::to_string(n));
            api.CommClose(n);
        } catch (const VbError&) {
            // A failing step skips to the next port.
        }
    }
}

std::vector<std::string> ScanComPorts(ComPortAPI& api) {
    struct ListView final : PortScanView {
        std::vector<std::string> items;
        int max = 0;
        void clearList() override { items.clear(); }
        void addListItem(const std::string& text) override { items.push_back(text); }
        void setProgressMax(int m) override { max = m; }
        int progressMax() const override { return max; }
        void setProgressValue(int) override {}
    } view;
    ScanComPorts(api, view);
    return view.items;
}

std::string BytesToText(const std::vector<uint8_t>& bytes, int lastIndex, const std::string& mode) {
    if (lastIndex >= static_cast<int>(bytes.size())) return {};
    size_t count = lastIndex < 0 ? 0 : static_cast<size_t>(lastIndex) + 1;
    if (mode == "chr")
        return latin1ToUtf8(std::string_view(reinterpret_cast<const char*>(bytes.data()), count));
    if (mode == "hex") {
        std::string out;
        char digits[4];
        for (size_t i = 0; i < count; ++i) {
            std::snprintf(digits, sizeof digits, "%X", bytes[i]);
            out += digits;
        }
        return out;
    }
    if (mode == "asc") {
        long sum = 0;
        for (size_t i = 0; i < count; ++i) sum += std::to_string(bytes[i])[0];
        return std::to_string(sum);
    }
    return {};
}

}  // namespace sq
