#pragma once
// The timer replies: the timer table read into the timer window (0x0A) and the acknowledgements of
// the table's three upload frames (0x8A, 0x8B, 0x8C), which send the next frame or end the upload.
// An upload is pending from the Set (or a re-send request) until its last frame is acknowledged, a
// step fails or Timer3 reports its time-out; while it is pending every other write is held back.
#include "decoder/reply_decoder.h"
#include "shared/reply_frame.h"
#include "shared/setting_records.h"

namespace sq {

class TimerFrm;

// 0x0A: the 130-byte table into the window's controls, header first, then rows 0 to 15. The first
// statement that fails (a mode above 3, a duration of 24 h or more, a count above 99, an enable byte
// above 2, a number too large for its field) ends the fill; what it set before stays.
void DecodeTimerSettings(const ReplyFrame& frame, TimerFrm& window);

// 0x8A, 0x8B, 0x8C: an acknowledgement (D[0] repeats the code) of frame 1 or 2 sends the next frame,
// of frame 3 shows "Set OK !!!"; any other D[0] shows "Set Fail !!!". Frame 3's answer and a failure
// end the upload: it is no longer pending and writes are no longer held back. Only the answer to
// the frame sent last, while the upload is pending, is taken; every other one is ignored.
void DecodeTimerUploadStep(const ReplyFrame& frame);

// The re-send request's entry for one frame (`write` is its builder): the frame goes out again from
// the kept table, but only when a Set of this run filled it, and the upload is pending again, its
// time-out counted afresh, so the chain goes on from that frame's acknowledgement.
void resendTimerFrame(void (*write)(const TimerSettings&));

// Plugs 0x0A (only while the timer window is open) and 0x8A-0x8C into the reply dispatcher.
void registerTimerArms();

}  // namespace sq
