#pragma once
// ComPortAPI: the program's only access to serial ports, numbered 1 to 256. One PortRecord per
// port; the last failure of any member is kept in LastErrorNumber / LastErrorSource /
// LastErrorMessage. Members catch their own run-time errors (a port number outside 1 to 256
// records error 9); only IsActivity and IsOpen raise it to the caller.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/serial_port.h"

namespace sq {

class ComPortAPI {
public:
    static constexpr int kMaxPorts = 256;

    struct PortRecord {
        // 0 never opened, -1 the last open failed, otherwise the handle created (kept after close).
        int32_t Handle = 0;
        // Set when the port was created, even if a later step of the open failed.
        bool IsOpen = false;
        LineSettings Dcb;
        std::unique_ptr<SerialPort> port;
        // Why the last open could not create the port (number 0 when it could).
        SerialError OpenFailure;
    };

    ComPortAPI() = default;
    ~ComPortAPI();
    ComPortAPI(const ComPortAPI&) = delete;
    ComPortAPI& operator=(const ComPortAPI&) = delete;

    int16_t InBufferSize = 0;
    int16_t OutBufferSize = 0;
    int32_t LastErrorNumber = 0;
    std::string LastErrorSource;
    std::string LastErrorMessage;

    void Init_API();
    void SetInBuffer(int16_t size) { InBufferSize = size; }
    [[nodiscard]] int16_t GetInBuffer() const { return InBufferSize; }
    void SetOutBuffer(int16_t size) { OutBufferSize = size; }
    [[nodiscard]] int16_t GetOutBuffer() const { return OutBufferSize; }

    // The port's Handle; raises VbError(9) outside 1 to 256.
    int32_t IsActivity(int DevId);
    // False for DevId 0 or below; raises VbError(9) above 256.
    bool IsOpen(int DevId);
    // Whether any port is open.
    [[nodiscard]] bool AnyOpen() const;
    std::string GetSystemMessage(int32_t lngErrorCode);

    // 0 on success, -2 if already open, else the recorded error number.
    int32_t CommOpen(int intPortID, const std::string& strPort, const std::string& strSettings);
    int32_t CommSet(int intPortID, const std::string& strSettings);
    int32_t CommClose(int intPortID);
    int32_t CommFlush(int intPortID);
    int32_t IsInBuffSize(int DevId);
    // Takes every byte already queued (never waits); lets events run once first. The count read,
    // 0 when nothing waits (strData then unchanged), -1 on failure. lngSize is ignored.
    int32_t CommRead(int intPortID, std::vector<uint8_t>& strData, int32_t lngSize = 4096);
    // Writes the whole array (waiting, with no events, up to about 1 s in all), then lets events
    // run once, and ten more times after success. The count written, -1 on failure.
    int32_t CommWrite(int intPortID, const std::vector<uint8_t>& strData);
    int32_t CommGetLine(int intPortID, int intLine, bool& blnState);
    int32_t CommSetLine(int intPortID, int intLine, bool blnState);
    int32_t CommGetError(std::string& strMessage);

    // For a port whose last open could not create it: one sentence in `words` naming the port, its
    // device and the reason. Empty when the port is open or its last open created it; raises
    // VbError(9) outside 1 to 256.
    [[nodiscard]] std::string OpenFailureText(int DevId, const OpenFailureWords& words) const;

    // Read access for tests and diagnostics; raises VbError(9) outside 1 to 256.
    [[nodiscard]] const PortRecord& port(int id) const;
    // Closes every port and forgets all records and errors (tests).
    void reset();

private:
    PortRecord& record(int id);
    int32_t RecordApiError(const std::string& source, const SerialError& error);
    int32_t RecordCommError(const std::string& source, PortRecord& record, const SerialError& error);
    int32_t recordRuntimeError(const std::string& source, int number);
    int32_t openSteps(PortRecord& rec, const std::string& strSettings);

    std::array<PortRecord, kMaxPorts + 1> m_ports;  // index 0 unused
    int32_t m_nextHandle = 0x100;
};

// The one port object of the run, created on first use.
ComPortAPI& PortAPI();

}  // namespace sq
