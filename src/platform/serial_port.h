#pragma once
// The serial port operations the port class needs, behind one interface: a termios implementation
// for real devices and pseudo-terminals, and an in-memory one over MemoryPortPair for logic tests.
// Every operation returns false on failure and leaves the reason in lastError().
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace sq {

// Line settings, the part of a classic DCB that a mode text can name.
struct LineSettings {
    uint32_t baud = 9600;
    char parity = 'N';  // N, E, O, M or S
    uint8_t dataBits = 8;
    uint8_t stopBits = 10;  // tenths: 10, 15 or 20
    bool dtr = true;
    bool rts = true;
    bool xonXoff = false;  // software flow control
    bool ctsFlow = false;  // hardware flow control on output
    bool dsrFlow = false;
    bool dsrSensitivity = false;
    bool infiniteTimeouts = false;
    friend bool operator==(const LineSettings&, const LineSettings&) = default;
};

// Parses a mode text such as "baud=57600 parity=N data=8 stop=1" (keys and values in any case,
// also the short form "96,n,8,1" and an optional leading "COMn:") into `settings`, changing only
// the fields the text names. False for an empty or invalid text; `settings` is then unchanged.
bool parseModeText(std::string_view text, LineSettings& settings);

struct SerialTimeouts {
    uint32_t readInterval = 0;
    uint32_t readTotalMultiplier = 0;
    uint32_t readTotalConstant = 0;
    uint32_t writeTotalMultiplier = 0;  // per byte, ms
    uint32_t writeTotalConstant = 0;    // ms
};

// Purge flags (abort and clear of either direction).
constexpr uint32_t kPurgeTxAbort = 1, kPurgeRxAbort = 2, kPurgeTxClear = 4, kPurgeRxClear = 8;
// Error flags reported by status().
constexpr uint32_t kCeRxOver = 0x1, kCeOverrun = 0x2, kCeRxParity = 0x4, kCeFrame = 0x8, kCeBreak = 0x10;
// Modem status bits.
constexpr uint32_t kMsCtsOn = 0x10, kMsDsrOn = 0x20, kMsRingOn = 0x40, kMsRlsdOn = 0x80;
// Escape functions.
constexpr int kSetRts = 3, kClrRts = 4, kSetDtr = 5, kClrDtr = 6, kSetBreak = 8, kClrBreak = 9;

struct SerialStatus {
    uint32_t errorFlags = 0;  // kCe* flags seen since the last call
    uint32_t inQueue = 0;     // bytes waiting to be read
    uint32_t outQueue = 0;    // bytes not yet sent
};

// The failure of the last operation: a system error number (errno values) and, where it helps the
// user, a detail text (the device, and for a permission error the group to join).
struct SerialError {
    int number = 0;
    std::string detail;
    std::string device;  // a failed open: the device it tried ("" when the name resolved to none)
};

class SerialPort {
public:
    virtual ~SerialPort() = default;
    SerialPort() = default;
    SerialPort(const SerialPort&) = delete;
    SerialPort& operator=(const SerialPort&) = delete;

    virtual bool setupQueues(uint32_t inSize, uint32_t outSize) = 0;
    virtual bool purge(uint32_t flags) = 0;
    virtual bool setTimeouts(const SerialTimeouts& timeouts) = 0;
    virtual bool getLineSettings(LineSettings& settings) = 0;
    virtual bool setLineSettings(const LineSettings& settings) = 0;
    // Reads at most `max` bytes that are already queued; never waits.
    virtual bool read(uint8_t* buffer, size_t max, size_t& got) = 0;
    // Writes, waiting (no events run) until all is in the port or the write time-out has passed;
    // a time-out is no failure: `written` then tells how far it got.
    virtual bool write(const uint8_t* data, size_t n, size_t& written) = 0;
    virtual bool status(SerialStatus& status) = 0;
    virtual bool modemStatus(uint32_t& bits) = 0;
    virtual bool escape(int function) = 0;
    virtual bool close() = 0;

    [[nodiscard]] const SerialError& lastError() const { return m_error; }

protected:
    bool fail(int number, std::string detail = {});
    SerialError m_error;
};

// Opens a port by name: "COMn" (n = 1 to 256) through the COM port resolver (in-memory registry
// first, then the ports folder, then the default device table), or an absolute device path.
// Exclusive, raw and non-blocking. nullptr on failure, with the reason in `error`.
std::unique_ptr<SerialPort> openSerialPort(const std::string& name, SerialError& error);

// The system's message text for an error number.
std::string serialErrorMessage(int number);
// The wording of an open failure in the language shown. `sentence` holds %1 for the port (with its
// device) and %2 for the reason; `noPermission` holds %1 for the device's group.
struct OpenFailureWords {
    std::string sentence;
    std::string notAssigned;
    std::string notFound;
    std::string busy;
    std::string noPermission;
    std::string notSerial;
};

// One sentence for a port that could not be opened: the port, the device and the reason (not
// found, busy, or no permission with the device's group). A reason without words of its own is the
// system's message.
std::string openFailureText(const std::string& portName, const SerialError& error,
                            const OpenFailureWords& words);

// Write time-out in milliseconds for n bytes; without any time-out set, 1000 ms.
uint32_t writeTimeoutMs(const SerialTimeouts& timeouts, size_t n);

}  // namespace sq
