#include "records/record_target.h"

#include "link/channels.h"
#include "link/com_port_api.h"
#include "link/requests.h"
#include "platform/ui/window.h"
#include "records/data_list_frm.h"

namespace sq {

namespace {

// The open record list window; a download never brings back a window the user closed.
DataListFrm* openDataList() {
    return dynamic_cast<DataListFrm*>(windows().find(DataListFrm::kName));
}

}  // namespace

void ProgramRecordTarget::updateSummaryGrid() {
    if (DataListFrm* frm = openDataList()) frm->UpdateQVX410Grid();
}

void ProgramRecordTarget::gridInfo() {
    if (DataListFrm* frm = openDataList()) frm->GridInfo();
}

void ProgramRecordTarget::addPointRow(const PointRow& row) {
    if (DataListFrm* frm = openDataList()) frm->QVX410PointGrid.AddItem(row.text());
}

void ProgramRecordTarget::enableToolbar() {
    if (DataListFrm* frm = openDataList()) frm->Toolbar1.setEnabled(true);
}

void ProgramRecordTarget::readRecordBlock(int32_t block) {
    ReadRecordBlock(block);
}

int64_t ProgramRecordTarget::receivedBytesPending() {
    if (CurrentChannel < 1 || CurrentChannel > MaxChannels) return 0;
    const ChannelRecord& channel = Channels[CurrentChannel];
    int64_t pending = static_cast<int64_t>(channel.RxBuffer.size());
    if (channel.PortNumber >= 1 && channel.PortNumber <= ComPortAPI::kMaxPorts) {
        const ComPortAPI::PortRecord& port = PortAPI().port(channel.PortNumber);
        SerialStatus status;
        if (port.port && port.port->status(status)) pending += status.inQueue;
    }
    return pending;
}

void DecodeRecordHeader(const ReplyFrame& frame, DecoderHost& host) {
    ProgramRecordTarget target(host);
    DecodeRecordHeader(frame, target);
}

void DecodeRecordBlock(const ReplyFrame& frame, DecoderHost& host) {
    ProgramRecordTarget target(host);
    DecodeRecordBlock(frame, target);
}

void registerRecordArms() {
    setReplyArm(0x0E, [](const ReplyFrame& f, DecoderHost& h) { DecodeRecordHeader(f, h); });
    setReplyArm(0x12, [](const ReplyFrame& f, DecoderHost& h) { DecodeRecordBlock(f, h); });
}

}  // namespace sq
