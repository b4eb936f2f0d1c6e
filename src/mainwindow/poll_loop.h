#pragma once
// The three timers' handlers of the main window: Timer1 (200 ms: status bar, identify, instrument
// list, clock polling, block-request repeat), Timer2 (1 s: silence watchdog) and Timer3 (receive
// pump). They reach the link and the window only through PollHost, so their rules are tested
// without widgets.
#include <cstdint>
#include <optional>
#include <string>

#include "shared/reply_frame.h"

namespace sq {

// Timer3's interval while idle (no port open, nothing counting its ticks), in milliseconds. Its
// ticks then do nothing; they only look again, in case a change slipped past the waker.
inline constexpr int kIdleTimer3Ms = 200;

enum class PollRequest {
    ReadDeviceModel,
    ReadMeterClock,
    ReadMemoryInfoNext,
    ReadRecordBlock,
    ReadCalibrationLevel,
    ReadCalibrationDate
};

class PollHost {
public:
    virtual ~PollHost() = default;

    // The PC's local date and time in a classic format ("yyyy / mm / dd   hh:nn:ss").
    virtual std::string pcDateTime(const std::string& format) = 0;
    virtual void setStatusPanel(int panel, const std::string& text) = 0;
    virtual void setPcTimeText(const std::string& text) = 0;  // RTCFrm.PcTimeNowLbl

    // The current channel. Each may raise VbError (for an invalid channel).
    virtual int currentChannelIndex() = 0;
    virtual int currentPortNumber() = 0;
    virtual bool portIsOpen() = 0;       // PortAPI.IsOpen of the channel's port
    virtual bool channelPortOpen() = 0;  // the channel's PortOpen record
    virtual void setChannelPortOpen(bool open) = 0;
    virtual bool channelListed() = 0;
    virtual void setChannelListed() = 0;
    virtual void readChannel() = 0;  // port bytes into the receive buffer
    virtual bool receiveBufferEmpty() = 0;
    virtual bool bytesWaitingAtPort() = 0;
    virtual std::optional<ReplyFrame> parseReplyFrame() = 0;

    virtual void send(PollRequest request, int argument = 0) = 0;
    virtual void delay(double seconds) = 0;
    virtual double now() = 0;

    virtual bool deviceButtonsEnabled() = 0;                             // toolbar button 3
    virtual void enableDeviceButtons() = 0;                              // toolbar buttons 3, 6, 7 and 8
    virtual void addInstrument(const std::string& text, int image) = 0;  // at the top of the list
    virtual bool timer1Enabled() = 0;
    virtual bool anyPortOpen() = 0;             // a port open, or recorded open on any channel
    virtual void setTimer3Idle(bool idle) = 0;  // idle: a slow Timer3; else its 1 ms tick
    virtual void rebuildDeviceTree() = 0;
    virtual void decode(const ReplyFrame& frame) = 0;  // DeQVX410SDData
};

class PollLoop {
public:
    explicit PollLoop(PollHost& host) : m_host(host) {}

    void Timer1_Timer();
    void Timer2_Timer();
    void Timer3_Timer();

    // State kept by the main window itself.
    int16_t ModelRepeatCount = 0;
    std::string LastSeenModel;
    int16_t SilenceSeconds = 0;
    // The channel whose instrument sent the last identify reply (0: none yet). DeviceModel is one
    // value for all channels; only on this channel does it name the instrument.
    int ModelChannel = 0;

    // True while a Timer3 tick can do nothing: no port open (nor recorded open on a channel) and
    // neither a timer upload nor a memory listing counting its ticks.
    bool Timer3Idle();
    // Slows Timer3 while it is idle; brings back its 1 ms tick as soon as it is not.
    void paceTimer3();

    // The instrument-list image of a model (0 when it is not listed).
    static int modelImage(const std::string& model);

private:
    bool modelKnownHere();
    void timer1ListInstrument();
    void timer1BlockRepeat();
    void timer3Tick();
    void timer3Supervise();
    void timer3LinkState();
    void timer3Frame(const ReplyFrame& frame);
    void checkEraseWatch(const ReplyFrame& frame);

    PollHost& m_host;
    bool m_bytesSinceTimer1 = false;  // Timer3 moved bytes since Timer1's last tick
};

}  // namespace sq
