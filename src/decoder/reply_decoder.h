#pragma once
// The reply dispatcher: one decoding per reply code. The decodings change the shared state and
// reach the windows and the link only through DecoderHost, so they are tested without widgets.
#include <cstdint>
#include <functional>
#include <string>

#include "shared/reply_frame.h"
#include "shared/setting_records.h"

namespace sq {

// What the decodings need of the windows, the link and the text table. Every setter may raise
// VbError (for example 380 for a list index the list does not hold); the decodings handle it.
class DecoderHost {
public:
    virtual ~DecoderHost() = default;

    // The single-value window's list OneSetForm.SetCbx (-1 clears the selection).
    virtual void setOneSetIndex(int index) = 0;
    // OneSetForm.CurMeterTxt (calibration mode).
    virtual void setCurMeterText(const std::string& text) = 0;
    // RTCFrm.MeterTimeNowLbl.
    virtual void setMeterTimeText(const std::string& text) = 0;
    // The hidden serial-number pane and its text box.
    virtual bool serialPaneVisible() = 0;
    virtual void setSerialText(const std::string& text) = 0;

    // The memory pane: its grid, message label and the two size values.
    virtual void memoryGridReset() = 0;  // Rows = 1
    virtual void memoryGridAddRow(const std::string& firstCell) = 0;
    virtual void memoryGridSetCell(int row, int col, const std::string& text) = 0;
    virtual void setMemoryMessage(const std::string& text) = 0;
    virtual void setTotalSizeText(const std::string& text) = 0;
    virtual void setRemainSizeText(const std::string& text) = 0;

    // Requests sent by the decodings.
    virtual void sendReadMemoryInfoNext() = 0;
    virtual void sendReadMemorySize() = 0;

    // Lets pending window events run once.
    virtual void doEvents() = 0;
};

// Values kept by the decodings besides the shared state (the single-value window's twins included).
struct DecoderState {
    double ContrastValue = 0;
    int ApoIndex = 0;
    int32_t IntervalSeconds = 0;
    ClockRecord MeterClock;
    int32_t MemoryTotalSize = 0;
    int32_t MemoryRemainSize = 0;
};
DecoderState& decoderState();

// The decodings sit in one table of reply arms: per reply code the data bytes its layout needs and
// the arm that decodes it.
using ReplyArm = std::function<void(const ReplyFrame&, DecoderHost&)>;

// Data bytes a reply needs to be decoded at all; shorter replies are dropped.
size_t minimumReplyLength(uint8_t code);

// Decodes one complete reply frame. Returns false when nothing decoded it (a code without an arm or
// a reply shorter than its layout).
bool decodeReply(const ReplyFrame& frame, DecoderHost& host);

// Registers the arm of `code` (arms of other files enter this way; tests replace arms with it).
// Returns the arm it replaced, so a caller can put it back. An empty arm leaves the code without a
// decoding; the minimum length stays the code's own.
ReplyArm setReplyArm(uint8_t code, ReplyArm arm);

// The date and time text "yyyy/mm/dd<sep>hh:nn:ss".
std::string formatClock(const ClockRecord& clock, const std::string& separator);

}  // namespace sq
