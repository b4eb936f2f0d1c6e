#include "decoder/reply_decoder.h"

#include <map>

#include "platform/dialogs.h"
#include "platform/encoding.h"
#include "platform/numbers.h"
#include "platform/vb_error.h"
#include "shared/state.h"
#include "texts/language_texts.h"

namespace sq {

namespace {

DecoderState g_decoderState;

std::map<uint8_t, ReplyArm>& extraArms() {
    static std::map<uint8_t, ReplyArm> arms;
    return arms;
}

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

bool decodeOwnArm(const ReplyFrame& f, DecoderHost& host) {
    OpenFlags& fl = flags();
    switch (f.Command) {
        case 0x00:
            decodeModel(f);
            return true;
        case 0x01:
            decodeContrast(f, host);
            return true;
        case 0x02:
            decodeMeterClock(f, host);
            return true;
        case 0x03:
            decodeApo(f, host);
            return true;
        case 0x06:
            decodeOnOff(f, host, fl.OneSetPause);
            return true;
        case 0x08:
            decodeOnOff(f, host, fl.OneSetAutoLock);
            return true;
        case 0x09:
            decodeOnOff(f, host, fl.OneSetAutoScroll);
            return true;
        case 0x0B:
            decodeClearDone();
            return true;
        case 0x0C:
            decodeMemoryEntry(f, host, true);
            return true;
        case 0x0D:
            decodeMemoryEntry(f, host, false);
            return true;
        case 0x0F:
            decodeMemorySize(f, host);
            return true;
        case 0x11:
            decodeSerialNumber(f, host);
            return true;
        case 0x13:
            decodeCalibrationLevel(f, host);
            return true;
        case 0x15:
            decodeInterval(f, host);
            return true;
        case 0x16:
            decodeCalibrationDate(f);
            return true;
        case 0xFF:
            decodeMemoryEnd(f, host);
            return true;
        default:
            return false;
    }
}

}  // namespace

DecoderState& decoderState() {
    return g_decoderState;
}

size_t minimumReplyLength(uint8_t code) {
    if (code >= 0x81 && code <= 0x91) return 1;
    switch (code) {
        case 0x00:
        case 0x0B:
            return 0;
        case 0x01:
        case 0x03:
        case 0x06:
        case 0x08:
        case 0x09:
        case 0x55:
        case 0xFF:
            return 1;
        case 0x13:
            return 2;
        case 0x15:
            return 4;
        case 0x02:
        case 0x14:
        case 0x16:
            return 7;
        case 0x0F:
            return 8;
        case 0x0C:
        case 0x0D:
            return 9;
        case 0x11:
            return 12;
        case 0x04:
            return 26;
        case 0x05:
        case 0x10:
            return 36;
        case 0x07:
            return 45;
        case 0x0A:
            return 130;
        case 0x0E:
            return 536;
        default:
            return 0;  // 0x12 checks its own length; unknown codes have no decoding
    }
}

bool decodeReply(const ReplyFrame& frame, DecoderHost& host) {
    if (frame.Data.size() < minimumReplyLength(frame.Command)) return false;
    auto arm = extraArms().find(frame.Command);
    if (arm != extraArms().end()) {
        arm->second(frame, host);
        return true;
    }
    return decodeOwnArm(frame, host);
}

void setReplyArm(uint8_t code, ReplyArm arm) {
    if (arm)
        extraArms()[code] = std::move(arm);
    else
        extraArms().erase(code);
}

std::string formatClock(const ClockRecord& c, const std::string& separator) {
    return formatPadded(c.Year, 4) + "/" + formatPadded(c.Month, 2) + "/" + formatPadded(c.Day, 2) +
           separator + formatPadded(c.Hour, 2) + ":" + formatPadded(c.Minute, 2) + ":" +
           formatPadded(c.Second, 2);
}

}  // namespace sq
