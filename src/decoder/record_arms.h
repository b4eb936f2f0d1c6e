#pragma once
// The decodings of a record download: the stored-record header (0x0E) and the record blocks (0x12).
// They run only in their phase of the download (shared/download_state.h) and reach the record list
// window and the link through RecordDownloadTarget, so they are tested without widgets.
#include <cstdint>
#include <string>

#include "decoder/reply_decoder.h"
#include "shared/record_state.h"
#include "shared/reply_frame.h"

namespace sq {

// What the arms do to the record list window and the link.
class RecordDownloadTarget {
public:
    virtual ~RecordDownloadTarget() = default;
    // DataListFrm.UpdateQVX410Grid and DataListFrm.GridInfo.
    virtual void updateSummaryGrid() = 0;
    virtual void gridInfo() = 0;
    // QVX410PointGrid.AddItem with the row's text.
    virtual void addPointRow(const PointRow& row) = 0;
    // DataListFrm.Toolbar1 enabled.
    virtual void enableToolbar() = 0;
    // Sends the block request (ReadRecordBlock).
    virtual void readRecordBlock(int32_t block) = 0;
    // The memory pane's message label (MemoryMessageLbl).
    virtual void setMemoryMessage(const std::string& text) = 0;
    // Bytes received on the current channel and not yet parsed (receive buffer and port).
    virtual int64_t receivedBytesPending() { return 0; }
};

// The 0x0E arm: decoded only while the header is awaited.
void DecodeRecordHeader(const ReplyFrame& frame, RecordDownloadTarget& target);
// The 0x12 arm: decoded only while blocks are received.
void DecodeRecordBlock(const ReplyFrame& frame, RecordDownloadTarget& target);

}  // namespace sq
