#pragma once
// The welcome-text (0x10) and lunch-time (0x14) replies, each decoded only while its window is open.
#include "decoder/reply_decoder.h"
#include "shared/reply_frame.h"
#include "shared/setting_records.h"

namespace sq {

class LunchTimeFrm;
class WelcomSetFrm;

// 0x10: three lines of 12 characters, one per byte (Latin-1), trailing blanks kept; the window then
// counts as filled.
void DecodeWelcomeText(const ReplyFrame& frame, WelcomSetFrm& window);

// 0x14: the 7 bytes as the record keeps them: an enable above 1, an hour above 23 or a minute above
// 59 becomes 0; the two spare bytes stay as they came.
LunchTime DecodeLunchTime(const ReplyFrame& frame);
// The window's five lists chosen from the record.
void showLunchTime(const LunchTime& lunch, LunchTimeFrm& window);

// Plugs both into the reply dispatcher; with its window's open flag clear a reply changes nothing.
void registerWelcomeLunchArms();

}  // namespace sq
