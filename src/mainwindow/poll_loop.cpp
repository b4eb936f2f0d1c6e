#include "mainwindow/poll_loop.h"

#include "decoder/erase_watch.h"
#include "platform/dialogs.h"
#include "platform/encoding.h"
#include "platform/vb_error.h"
#include "shared/download_state.h"
#include "shared/state.h"
#include "texts/language_texts.h"

namespace sq {

int PollLoop::modelImage(const std::string& model) {
    if (model == "QVX 410") return 1;
    if (model == "RAV 820") return 2;
    if (model == "VOK-LSR20") return 4;
    if (model == "KM-300") return 3;
    return 0;
}

void PollLoop::Timer1_Timer() {
    SharedState& s = shared();
    skipOnError([&] { m_host.setStatusPanel(4, m_host.pcDateTime("yyyy / mm / dd   hh:nn:ss")); });
    skipOnError([&] { m_host.setStatusPanel(1, s.DeviceModel); });
    skipOnError([&] { m_host.setStatusPanel(3, "COM  " + std::to_string(m_host.currentPortNumber())); });
    if (s.flags.RTCFrmOpen == kTrue) {
        skipOnError([&] { m_host.setPcTimeText(m_host.pcDateTime("yyyy/mm/dd hh:nn:ss")); });
        skipOnError([&] { m_host.send(PollRequest::ReadMeterClock); });
    }
    skipOnError([&] { m_host.setChannelPortOpen(m_host.portIsOpen()); });
    bool open = false;
    skipOnError([&] { open = m_host.channelPortOpen(); });
    if (open) {
        // A channel opened after another instrument was identified is asked for its own model.
        if (!modelKnownHere()) skipOnError([&] { m_host.send(PollRequest::ReadDeviceModel); });
        skipOnError([&] {
            if (!m_host.deviceButtonsEnabled() && !s.DeviceModel.empty()) m_host.enableDeviceButtons();
        });
        skipOnError([&] { timer1ListInstrument(); });
        LastSeenModel = s.DeviceModel;
    }
    skipOnError([&] { timer1BlockRepeat(); });
}

bool PollLoop::modelKnownHere() {
    if (shared().DeviceModel.empty()) return false;
    int channel = -1;
    skipOnError([&] { channel = m_host.currentChannelIndex(); });
    return channel == ModelChannel;
}

void PollLoop::timer1ListInstrument() {
    const SharedState& s = shared();
    if (m_host.channelListed()) {
        ModelRepeatCount = 0;
        return;
    }
    if (!modelKnownHere()) {
        ModelRepeatCount = 0;
        return;
    }
    ModelRepeatCount = s.DeviceModel == LastSeenModel ? ModelRepeatCount + 1 : 0;
    if (ModelRepeatCount <= 2) return;
    const int image = modelImage(s.DeviceModel);
    if (image == 0) return;
    m_host.addInstrument(s.DeviceModel + ":" + std::to_string(m_host.currentPortNumber()), image);
    m_host.setChannelListed();
}

// An outstanding block request goes out again after two quiet ticks: a tick that saw bytes on the
// current channel, or the request itself, starts the count again.
void PollLoop::timer1BlockRepeat() {
    SharedState& s = shared();
    bool bytes = m_bytesSinceTimer1;
    m_bytesSinceTimer1 = false;
    skipOnError([&] { bytes = bytes || !m_host.receiveBufferEmpty() || m_host.bytesWaitingAtPort(); });
    if (s.flags.RecordRequestPending != kTrue) {
        s.BlockWaitTicks = 0;
    } else if (bytes) {
        s.BlockWaitTicks = 0;
    } else if (s.BlockWaitTicks >= 2) {
        s.BlockWaitTicks = 0;
        downloadState().repeatsOfBlock += 1;
        m_host.send(PollRequest::ReadRecordBlock, s.BlockIndex);
    } else {
        s.BlockWaitTicks += 1;
    }
}

void PollLoop::Timer2_Timer() {
    try {
        if (SilenceSeconds == 5) {
            SilenceSeconds = 0;
            shared().SendSuspended = kFalse;
            m_host.send(PollRequest::ReadDeviceModel);
        }
        SilenceSeconds = static_cast<int16_t>(SilenceSeconds + 1);
    } catch (const VbError&) {
    }
    EnablePollTimers();
}

void PollLoop::Timer3_Timer() {
    try {
        timer3Tick();
    } catch (const VbError&) {
        EnablePollTimers();
    }
    paceTimer3();
}

void PollLoop::timer3Tick() {
    m_host.readChannel();
    timer3Supervise();
    if (!m_host.channelPortOpen()) return;
    timer3LinkState();
    m_host.delay(0.1);
    auto frame = m_host.parseReplyFrame();
    if (frame) timer3Frame(*frame);
}

bool PollLoop::Timer3Idle() {
    const OpenFlags& f = flags();
    if (f.TimerSetPending == kTrue || f.ListingMemory == kTrue) return false;
    bool open = true;
    skipOnError([&] { open = m_host.anyPortOpen(); });
    return !open;
}

void PollLoop::paceTimer3() {
    m_host.setTimer3Idle(Timer3Idle());
}

void PollLoop::timer3Supervise() {
    SharedState& s = shared();
    OpenFlags& f = s.flags;
    if (f.TimerSetPending == kTrue) {
        s.ReplyWaitTicks += 1;
        if (s.ReplyWaitTicks >= 300) {
            msgBox(texts().TxtSetTimerTimeOut, MsgButtons::OK, MsgIcon::Critical);
            s.ReplyWaitTicks = 0;
            f.TimerSetPending = kFalse;
            // The upload is over: later writes must not stay held back until the silence watchdog,
            // which does not run while polling is paused.
            s.SendSuspended = kFalse;
        }
    } else if (f.ListingMemory == kTrue) {
        if (s.ReplyWaitTicks % 10 == 0 && s.ReplyWaitTicks <= 100) {
            if (f.MemoryPanelVisible != kTrue) {
                f.ListingMemory = kFalse;
                EnablePollTimers();
            } else {
                m_host.send(PollRequest::ReadMemoryInfoNext);
            }
        } else if (s.ReplyWaitTicks > 200) {
            s.ReplyWaitTicks = 0;
            msgBox(texts().TxtGetMemoryInfoTimeOut, MsgButtons::OK, MsgIcon::Critical);
            f.ListingMemory = kFalse;
            EnablePollTimers();
        }
        s.ReplyWaitTicks += 1;
    }
}

void PollLoop::timer3LinkState() {
    SharedState& s = shared();
    if (m_host.receiveBufferEmpty()) {
        if (s.IdleTicks <= 100) s.IdleTicks = static_cast<int16_t>(s.IdleTicks + 1);
        if (s.IdleTicks > 100) s.flags.Disconnected = kTrue;
    } else {
        m_bytesSinceTimer1 = true;
        s.IdleTicks = 0;
        s.flags.Disconnected = kFalse;
    }
    if (s.flags.Disconnected != kTrue) {
        m_host.setStatusPanel(2, texts().TxtConnection);
    } else if (s.flags.MemoryErasing == kTrue) {
        m_host.setStatusPanel(2, texts().TxtErasing);
    } else {
        m_host.setStatusPanel(2, texts().TxtDisconnection);
        if (!m_host.timer1Enabled()) EnablePollTimers();
    }
}

void PollLoop::timer3Frame(const ReplyFrame& frame) {
    SharedState& s = shared();
    checkEraseWatch(frame);
    if (frame.Command == 0x00) {
        s.DeviceModel = latin1ToUtf8(std::string(frame.Data.begin(), frame.Data.end()));
        if (s.DeviceModel != s.PrevDeviceModel || s.DeviceModel.empty()) s.DeviceModelChanged = kTrue;
        ModelChannel = frame.Channel;
        s.PrevDeviceModel = s.DeviceModel;
    }
    if (s.DeviceModelChanged == kTrue) {
        s.DeviceModelChanged = kFalse;
        m_host.rebuildDeviceTree();
    }
    SilenceSeconds = 0;
    const ClockRecord& cal = s.CalibrationDateTime;
    if (cal.Year == 0 && cal.Month == 0 && cal.Day == 0) {
        m_host.delay(0.1);
        m_host.send(PollRequest::ReadCalibrationDate);
    }
    if (s.CalibrationLevelText == "----") {
        m_host.delay(0.1);
        m_host.send(PollRequest::ReadCalibrationLevel);
    }
    if (IsSupportedModel(s.DeviceModel) == 1) {
        m_host.delay(0.1);
        m_host.decode(frame);
    }
}

void PollLoop::checkEraseWatch(const ReplyFrame& frame) {
    OpenFlags& f = flags();
    if (!eraseWatch().noteReply(frame.Command, m_host.now(), f.MemoryErasing == kTrue)) return;
    f.MemoryErasing = kFalse;
    msgBox(texts().TxtSetFail, MsgButtons::OK, MsgIcon::Critical);
}

}  // namespace sq
