#pragma once
// Module-level state shared by several subsystems: the flag table, the reported model, the poll
// loop's counters and the poll switches. Lives for the whole run; tests reset it.
#include <cstdint>
#include <functional>
#include <string>

#include "shared/kept_settings.h"
#include "shared/setting_records.h"

namespace sq {

class Timer;

// Flags are 16-bit integers with True = -1 and False = 0.
constexpr int16_t kTrue = -1;
constexpr int16_t kFalse = 0;
inline int16_t flagOf(bool b) {
    return b ? kTrue : kFalse;
}

// The receive pump (the main window's Timer3) slows down while no port is open and no operation
// that counts its ticks is pending; whatever may end that calls wakeReceivePump. The main window
// installs the waker (nullptr: none).
void setReceivePumpWaker(std::function<void()> waker);
void wakeReceivePump();

// A 16-bit flag whose every change wakes the receive pump, for the operations it counts ticks of.
class PumpFlag {
public:
    PumpFlag() = default;
    PumpFlag& operator=(int16_t value) {
        const bool changed = value != m_value;
        m_value = value;
        if (changed) wakeReceivePump();
        return *this;
    }
    operator int16_t() const { return m_value; }

private:
    int16_t m_value = 0;
};

// One flag per child window, per mode of the single-value window, and the states of running
// commands, in table order.
struct OpenFlags {
    int16_t Setting410PanelFrmOpen = 0;
    int16_t ComPortSetFrmOpen = 0;
    int16_t OneSetLcdContrast = 0;
    int16_t RTCFrmOpen = 0;
    int16_t OneSetLcdApo = 0;
    int16_t SonoquantFrmOpen = 0;
    int16_t ScreenFrmOpen = 0;
    int16_t OneSetPause = 0;
    int16_t LEDAlarmFrmOpen = 0;
    int16_t OneSetAutoLock = 0;
    int16_t OneSetAutoScroll = 0;
    int16_t TimerFrmOpen = 0;
    int16_t MemoryPanelVisible = 0;
    int16_t DataListFrmOpen = 0;
    PumpFlag TimerSetPending;
    int16_t MemoryErasing = 0;
    PumpFlag ListingMemory;
    int16_t WelcomSetFrmOpen = 0;
    int16_t Disconnected = 0;
    int16_t ClearMemoryFrmOpen = 0;
    int16_t HelpFrmOpen = 0;
    int16_t LanguageFrmOpen = 0;
    int16_t AllSelectState = 0;
    int16_t RecordRequestPending = 0;
    int16_t FileListFrmOpen = 0;
    int16_t OneSetCalibration = 0;
    int16_t HistogramOpen = 0;
    int16_t PlotOpen = 0;
    int16_t LunchTimeFrmOpen = 0;
    int16_t OneSetIntervalTime = 0;
};

struct SharedState {
    OpenFlags flags;
    int16_t SendSuspended = 0;  // owned by the request builders
    // The timer-table frame (0x8A, 0x8B or 0x8C) the request builders sent last: the one whose
    // acknowledgement a pending upload waits for. 0 before any.
    uint8_t TimerFrameSent = 0;

    std::string DeviceModel;
    std::string PrevDeviceModel;
    int16_t DeviceModelChanged = 0;

    int16_t IdleTicks = 0;  // stops at 101
    int32_t ReplyWaitTicks = 0;
    int32_t BlockWaitTicks = 0;
    int32_t BlockIndex = 0;
    int32_t MemoryListRow = 0;

    std::string CalibrationLevelText;
    ClockRecord CalibrationDateTime;
    std::string IniFilePath;

    std::string FileModel;           // first line of the data file opened last
    std::string SelectedRecordTime;  // the clicked record's date and time, usable as a file name
    int16_t PrintRecordData = 0;     // the reports include the point table (the "Print"/"PDF" question)

    KeptSettings kept;  // all zero and unfilled at start
};

SharedState& shared();
inline OpenFlags& flags() {
    return shared().flags;
}
inline KeptSettings& keptSettings() {
    return shared().kept;
}
// Back to the state at program start (tests).
void resetSharedState();

// The poll switches act on the main window's Timer1 and Timer2, registered here when it is created.
// One EnablePollTimers undoes any number of DisablePollTimers.
void registerPollTimers(Timer* timer1, Timer* timer2);
void EnablePollTimers();
void DisablePollTimers();

// 1 for "QVX 410", "RAV 820", "KM-300" and "VOK-LSR20" exactly (case-sensitive, whole text), else 0.
int IsSupportedModel(const std::string& model);
// True when the instrument's model or the model read from a data file is supported.
[[nodiscard]] bool SupportedModelKnown();
// Decimal logarithm as ln(x) / ln(10); raises VbError(5) for x <= 0.
double Log10(double x);

}  // namespace sq
