#pragma once
// The record arms' target in the program: the record list window DataListFrm, the link's block
// request, and the memory pane of the decoder's host. The arms enter the decoder's reply-arm table
// with this target through setReplyArm.
#include "decoder/record_arms.h"

namespace sq {

class ProgramRecordTarget : public RecordDownloadTarget {
public:
    explicit ProgramRecordTarget(DecoderHost& host) : m_host(host) {}
    void updateSummaryGrid() override;
    void gridInfo() override;
    void addPointRow(const PointRow& row) override;
    void enableToolbar() override;
    void readRecordBlock(int32_t block) override;
    void setMemoryMessage(const std::string& text) override { m_host.setMemoryMessage(text); }
    int64_t receivedBytesPending() override;

private:
    DecoderHost& m_host;
};

// The record arms with the program's record list window and link, and the host's memory pane.
void DecodeRecordHeader(const ReplyFrame& frame, DecoderHost& host);
void DecodeRecordBlock(const ReplyFrame& frame, DecoderHost& host);
// Plugs both arms into the reply dispatcher.
void registerRecordArms();

}  // namespace sq
