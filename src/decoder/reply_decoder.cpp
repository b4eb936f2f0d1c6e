#include "decoder/reply_decoder.h"

#include <array>
#include <utility>

#include "platform/dialogs.h"
#include "platform/encoding.h"
#include "platform/numbers.h"
#include "platform/vb_error.h"
#include "shared/state.h"
#include "texts/language_texts.h"

namespace sq {

namespace {

DecoderState g_decoderState;

std::string latin1Text(const std::vector<uint8_t>& data, size_t from, size_t count) {
    std::string bytes(data.begin() + from, data.begin() + from + count);
    return latin1ToUtf8(bytes);
}

// Year (signed 16-bit, high byte first), then month, day, hour, minute and second. A year that does
// not fit keeps its old value while the other fields are stored.
void readClock(const std::vector<uint8_t>& d, ClockRecord& clock) {
    skipOnError([&] { clock.Year = readBe16(&d[0]); });
    clock.Month = d[2];
    clock.Day = d[3];
    clock.Hour = d[4];
    clock.Minute = d[5];
    clock.Second = d[6];
}

void decodeModel(const ReplyFrame& f) {
    shared().DeviceModel = latin1Text(f.Data, 0, f.Data.size());
}

// The five list replies of the single-value window: a failing statement selects entry 0 and ends.
template <typename Fn>
void withListFailureAction(DecoderHost& host, Fn&& fn) {
    try {
        fn();
    } catch (const VbError&) {
        skipOnError([&] { host.setOneSetIndex(0); });
    }
}

void decodeContrast(const ReplyFrame& f, DecoderHost& host) {
    withListFailureAction(host, [&] {
        decoderState().ContrastValue = f.Data[0] / 4.0 - 1;
        if (flags().OneSetLcdContrast == kTrue)
            host.setOneSetIndex(static_cast<int>(roundHalfEven(decoderState().ContrastValue)));
    });
}

void decodeApo(const ReplyFrame& f, DecoderHost& host) {
    withListFailureAction(host, [&] {
        decoderState().ApoIndex = f.Data[0];
        if (flags().OneSetLcdApo == kTrue) host.setOneSetIndex(decoderState().ApoIndex);
    });
}

void decodeOnOff(const ReplyFrame& f, DecoderHost& host, int16_t modeFlag) {
    withListFailureAction(host, [&] {
        if (modeFlag == kTrue) host.setOneSetIndex(f.Data[0]);
    });
}

void decodeMeterClock(const ReplyFrame& f, DecoderHost& host) {
    readClock(f.Data, decoderState().MeterClock);
    if (flags().RTCFrmOpen == kTrue)
        skipOnError([&] { host.setMeterTimeText(formatClock(decoderState().MeterClock, " ")); });
}

void decodeSerialNumber(const ReplyFrame& f, DecoderHost& host) {
    if (!host.serialPaneVisible()) return;
    host.setSerialText(latin1Text(f.Data, 0, 12));
}

void decodeCalibrationLevel(const ReplyFrame& f, DecoderHost& host) {
    skipOnError([&] { shared().CalibrationLevelText = formatFixed(readBe16(&f.Data[0]) / 10.0, 1); });
    if (flags().OneSetCalibration != kTrue) return;
    const std::string& text = shared().CalibrationLevelText;
    skipOnError([&] { host.setCurMeterText(text == "0.0" ? "OFF" : text); });
}

int intervalListIndex(int32_t seconds) {
    static const int32_t kSeconds[] = {60, 300, 600, 1800, 3600, 7200};
    for (int i = 0; i < 6; ++i)
        if (kSeconds[i] == seconds) return i;
    return -2;  // not a list value
}

void decodeInterval(const ReplyFrame& f, DecoderHost& host) {
    if (flags().OneSetIntervalTime != kTrue) return;
    skipOnError([&] { decoderState().IntervalSeconds = readLe32(&f.Data[0]); });
    const int index = intervalListIndex(decoderState().IntervalSeconds);
    if (index >= 0) skipOnError([&] { host.setOneSetIndex(index); });
}

void decodeCalibrationDate(const ReplyFrame& f) {
    readClock(f.Data, shared().CalibrationDateTime);
}

// One entry of the memory list (0x0C starts the list, 0x0D continues it).
void decodeMemoryEntry(const ReplyFrame& f, DecoderHost& host, bool first) {
    const auto& d = f.Data;
    SharedState& s = shared();
    s.MemoryListRow += 1;
    s.ReplyWaitTicks = 0;
    if (first) skipOnError([&] { host.memoryGridReset(); });
    const int row = s.MemoryListRow;
    skipOnError([&] { host.memoryGridAddRow(std::to_string(row)); });
    skipOnError([&] {
        ClockRecord c;
        c.Year = readBe16(&d[0]);
        c.Month = d[2], c.Day = d[3], c.Hour = d[4], c.Minute = d[5], c.Second = d[6];
        host.memoryGridSetCell(row, 1, formatClock(c, "  "));
    });
    skipOnError([&] { host.memoryGridSetCell(row, 2, std::to_string(d[7])); });
    if (!first) host.doEvents();
    skipOnError([&] {
        host.setMemoryMessage(texts().TxtLoad + " " + std::to_string(d[7]) + "/" + std::to_string(d[8]));
    });
    if (!first) host.doEvents();
    if (d[7] != d[8]) skipOnError([&] { host.sendReadMemoryInfoNext(); });
}

// End of the memory list. An empty memory ends the listing as well, so the toolbar works again.
void decodeMemoryEnd(const ReplyFrame& f, DecoderHost& host) {
    if (f.Data[0] == 0x0C) {
        msgBox(texts().TxtMemoryInfoNoData);
        flags().ListingMemory = kFalse;
    } else {
        skipOnError([&] { host.setMemoryMessage(texts().TxtLoadComplete); });
        msgBox(texts().TxtGetMemoryInfoOK);
        flags().ListingMemory = kFalse;
        skipOnError([&] { host.sendReadMemorySize(); });
    }
    EnablePollTimers();
}

void decodeMemorySize(const ReplyFrame& f, DecoderHost& host) {
    DecoderState& ds = decoderState();
    skipOnError([&] {
        ds.MemoryTotalSize = readBe32(&f.Data[0]);
        host.setTotalSizeText(std::to_string(ds.MemoryTotalSize));
    });
    skipOnError([&] {
        ds.MemoryRemainSize = readBe32(&f.Data[4]);
        host.setRemainSizeText(std::to_string(ds.MemoryRemainSize));
    });
}

void decodeClearDone() {
    msgBox("Clear OK !!!");
    flags().MemoryErasing = kFalse;
}

// The plain acknowledgement of a write: the instrument repeats the write's code in D[0] when the
// write took. Nothing else changes: no flag, no polling, no request.
void decodeAcknowledgement(const ReplyFrame& f, DecoderHost&) {
    if (f.Data[0] == f.Command)
        msgBox(texts().TxtSetOK);
    else
        msgBox(texts().TxtSetFail, MsgButtons::OK, MsgIcon::Critical);
}

struct ReplyArmEntry {
    size_t minimumLength = 0;
    ReplyArm arm;
};
using ReplyArmTable = std::array<ReplyArmEntry, 256>;

template <void (*Decode)(const ReplyFrame&, DecoderHost&)>
ReplyArm arm() {
    return [](const ReplyFrame& f, DecoderHost& host) { Decode(f, host); };
}

ReplyArm onOffArm(int16_t OpenFlags::*modeFlag) {
    return [modeFlag](const ReplyFrame& f, DecoderHost& host) { decodeOnOff(f, host, flags().*modeFlag); };
}

ReplyArm memoryEntryArm(bool first) {
    return [first](const ReplyFrame& f, DecoderHost& host) { decodeMemoryEntry(f, host, first); };
}

// Every reply code the instrument sends, with the data bytes its layout needs and the arm that
// decodes it. An empty arm is one another file registers (the record download, the dose,
// display-page, LED-alarm, timer, welcome-text and lunch-time windows, the timer table's
// acknowledgements and the re-send request); until then the code decodes nothing. 0x12 checks its own length
// (8 bytes per point of the block).
ReplyArmTable buildArmTable() {
    struct Row {
        uint8_t code;
        size_t minimumLength;
        ReplyArm arm;
    };
    const Row rows[] = {
        {0x00, 0, [](const ReplyFrame& f, DecoderHost&) { decodeModel(f); }},
        {0x01, 1, arm<decodeContrast>()},
        {0x02, 7, arm<decodeMeterClock>()},
        {0x03, 1, arm<decodeApo>()},
        {0x04, 26, {}},
        {0x05, 36, {}},
        {0x06, 1, onOffArm(&OpenFlags::OneSetPause)},
        {0x07, 45, {}},
        {0x08, 1, onOffArm(&OpenFlags::OneSetAutoLock)},
        {0x09, 1, onOffArm(&OpenFlags::OneSetAutoScroll)},
        {0x0A, 130, {}},
        {0x0B, 0, [](const ReplyFrame&, DecoderHost&) { decodeClearDone(); }},
        {0x0C, 9, memoryEntryArm(true)},
        {0x0D, 9, memoryEntryArm(false)},
        {0x0E, 536, {}},
        {0x0F, 8, arm<decodeMemorySize>()},
        {0x10, 36, {}},
        {0x11, 12, arm<decodeSerialNumber>()},
        {0x12, 0, {}},
        {0x13, 2, arm<decodeCalibrationLevel>()},
        {0x14, 7, {}},
        {0x15, 4, arm<decodeInterval>()},
        {0x16, 7, [](const ReplyFrame& f, DecoderHost&) { decodeCalibrationDate(f); }},
        {0x55, 1, {}},
        {0xFF, 1, arm<decodeMemoryEnd>()},
    };
    ReplyArmTable table;
    for (const Row& row : rows) table[row.code] = {row.minimumLength, row.arm};
    // Acknowledgements; 0x8A to 0x8C, the timer table's three frames, advance its upload instead.
    for (int code = 0x81; code <= 0x91; ++code) {
        table[code].minimumLength = 1;
        if (code < 0x8A || code > 0x8C) table[code].arm = arm<decodeAcknowledgement>();
    }
    return table;
}

ReplyArmTable& armTable() {
    static ReplyArmTable table = buildArmTable();
    return table;
}

}  // namespace

DecoderState& decoderState() {
    return g_decoderState;
}

size_t minimumReplyLength(uint8_t code) {
    return armTable()[code].minimumLength;
}

bool decodeReply(const ReplyFrame& frame, DecoderHost& host) {
    const ReplyArmEntry& entry = armTable()[frame.Command];
    if (!entry.arm || frame.Data.size() < entry.minimumLength) return false;
    // A copy: an arm may register arms (or replace itself) while it runs.
    const ReplyArm arm = entry.arm;
    arm(frame, host);
    return true;
}

ReplyArm setReplyArm(uint8_t code, ReplyArm arm) {
    return std::exchange(armTable()[code].arm, std::move(arm));
}

std::string formatClock(const ClockRecord& c, const std::string& separator) {
    return formatPadded(c.Year, 4) + "/" + formatPadded(c.Month, 2) + "/" + formatPadded(c.Day, 2) +
           separator + formatPadded(c.Hour, 2) + ":" + formatPadded(c.Minute, 2) + ":" +
           formatPadded(c.Second, 2);
}

}  // namespace sq
