#include "link/com_port_api.h"

#include <cerrno>
#include <cstdio>

#include "platform/runtime.h"
#include "platform/vb_error.h"
#include "shared/state.h"

namespace sq {

namespace {

constexpr uint32_t kPurgeAll = kPurgeTxAbort | kPurgeRxAbort | kPurgeTxClear | kPurgeRxClear;

// The write time-out is about one second for the whole frame, whatever its length.
constexpr SerialTimeouts kPortTimeouts{0xFFFFFFFFu, 0, 1000, 0, 1000};

std::string hexUpper(uint32_t v) {
    char text[16];
    std::snprintf(text, sizeof text, "%X", v);
    return text;
}

SerialError invalidHandle() {
    return SerialError{EBADF, {}, {}};
}

}  // namespace

ComPortAPI::~ComPortAPI() = default;

ComPortAPI& PortAPI() {
    static ComPortAPI api;
    return api;
}

void ComPortAPI::Init_API() {
    InBufferSize = 4096;
    OutBufferSize = 4096;
}

ComPortAPI::PortRecord& ComPortAPI::record(int id) {
    if (id < 1 || id > kMaxPorts) raise(kSubscriptOutOfRange);
    return m_ports[static_cast<size_t>(id)];
}

const ComPortAPI::PortRecord& ComPortAPI::port(int id) const {
    if (id < 1 || id > kMaxPorts) raise(kSubscriptOutOfRange);
    return m_ports[static_cast<size_t>(id)];
}

void ComPortAPI::reset() {
    for (auto& rec : m_ports) rec = PortRecord{};
    InBufferSize = OutBufferSize = 0;
    LastErrorNumber = 0;
    LastErrorSource.clear();
    LastErrorMessage.clear();
}

std::string ComPortAPI::OpenFailureText(int DevId, const OpenFailureWords& words) const {
    const PortRecord& rec = port(DevId);
    if (rec.IsOpen || rec.OpenFailure.number == 0) return {};
    return openFailureText("COM" + std::to_string(DevId), rec.OpenFailure, words);
}

bool ComPortAPI::AnyOpen() const {
    for (const PortRecord& rec : m_ports)
        if (rec.IsOpen) return true;
    return false;
}

int32_t ComPortAPI::IsActivity(int DevId) {
    return record(DevId).Handle;
}

bool ComPortAPI::IsOpen(int DevId) {
    if (DevId <= 0) return false;
    return record(DevId).IsOpen;
}

std::string ComPortAPI::GetSystemMessage(int32_t lngErrorCode) {
    return serialErrorMessage(lngErrorCode);
}

int32_t ComPortAPI::RecordApiError(const std::string& source, const SerialError& error) {
    LastErrorNumber = error.number;
    LastErrorSource = source;
    LastErrorMessage = GetSystemMessage(error.number);
    if (!error.detail.empty()) LastErrorMessage += " (" + error.detail + ")";
    return LastErrorNumber;
}

int32_t ComPortAPI::RecordCommError(const std::string& source, PortRecord& rec, const SerialError& error) {
    SerialStatus status;
    uint32_t flags = rec.port && rec.port->status(status) ? status.errorFlags : 0;
    LastErrorNumber = error.number;
    LastErrorSource = source;
    LastErrorMessage = GetSystemMessage(error.number) + "  COMM Error Flags = " + hexUpper(flags);
    return LastErrorNumber;
}

int32_t ComPortAPI::recordRuntimeError(const std::string& source, int number) {
    LastErrorNumber = number;
    LastErrorSource = source;
    LastErrorMessage = VbError::defaultText(number);
    return number;
}

int32_t ComPortAPI::CommOpen(int intPortID, const std::string& strPort, const std::string& strSettings) {
    try {
        PortRecord& rec = record(intPortID);
        if (rec.IsOpen) {
            LastErrorNumber = -1;
            LastErrorSource = "CommOpen";
            LastErrorMessage = "Port in use.";
            return -2;
        }
        SerialError error;
        rec.port = openSerialPort(strPort, error);
        if (!rec.port) {
            rec.Handle = -1;
            rec.OpenFailure = error;
            return RecordApiError("CommOpen (CreateFile)", error);
        }
        rec.OpenFailure = SerialError{};
        rec.Handle = m_nextHandle++;
        rec.IsOpen = true;
        wakeReceivePump();
        return openSteps(rec, strSettings);
    } catch (const VbError& e) {
        return recordRuntimeError("CommOpen", e.number());
    }
}

// The set-up after the port was created; a failing step leaves the port open.
int32_t ComPortAPI::openSteps(PortRecord& rec, const std::string& strSettings) {
    SerialPort& p = *rec.port;
    if (!p.setupQueues(static_cast<uint32_t>(InBufferSize), static_cast<uint32_t>(OutBufferSize)))
        return RecordApiError("CommOpen (SetupComm)", p.lastError());
    if (!p.purge(kPurgeAll)) return RecordApiError("CommOpen (PurgeComm)", p.lastError());
    if (!p.setTimeouts(kPortTimeouts)) return RecordApiError("CommOpen (SetCommTimeouts)", p.lastError());
    if (!p.getLineSettings(rec.Dcb)) return RecordApiError("CommOpen (GetCommState)", p.lastError());
    if (!parseModeText(strSettings, rec.Dcb))
        return RecordApiError("CommOpen (BuildCommDCB)",
                              SerialError{EINVAL, "mode text \"" + strSettings + "\"", {}});
    if (!p.setLineSettings(rec.Dcb)) return RecordApiError("CommOpen (SetCommState)", p.lastError());
    return 0;
}

int32_t ComPortAPI::CommSet(int intPortID, const std::string& strSettings) {
    try {
        PortRecord& rec = record(intPortID);
        if (!rec.port) return RecordApiError("CommSet (GetCommState)", invalidHandle());
        SerialPort& p = *rec.port;
        if (!p.getLineSettings(rec.Dcb)) return RecordApiError("CommSet (GetCommState)", p.lastError());
        if (!parseModeText(strSettings, rec.Dcb))
            return RecordApiError("CommSet (BuildCommDCB)",
                                  SerialError{EINVAL, "mode text \"" + strSettings + "\"", {}});
        if (!p.setLineSettings(rec.Dcb)) return RecordApiError("CommSet (SetCommState)", p.lastError());
        return 0;
    } catch (const VbError& e) {
        return recordRuntimeError("CommSet", e.number());
    }
}

int32_t ComPortAPI::CommClose(int intPortID) {
    try {
        PortRecord& rec = record(intPortID);
        if (!rec.IsOpen) return 0;
        if (!rec.port->close()) return RecordApiError("CommClose (CloseHandle)", rec.port->lastError());
        rec.port.reset();
        rec.IsOpen = false;
        return 0;
    } catch (const VbError& e) {
        return recordRuntimeError("CommClose", e.number());
    }
}

int32_t ComPortAPI::CommFlush(int intPortID) {
    try {
        PortRecord& rec = record(intPortID);
        if (!rec.port) return RecordApiError("CommFlush (PurgeComm)", invalidHandle());
        if (!rec.port->purge(kPurgeAll))
            return RecordApiError("CommFlush (PurgeComm)", rec.port->lastError());
        return 0;
    } catch (const VbError& e) {
        return recordRuntimeError("CommFlush", e.number());
    }
}

int32_t ComPortAPI::IsInBuffSize(int DevId) {
    try {
        record(DevId);
        DoEvents();
        PortRecord& rec = record(DevId);
        SerialStatus status;
        if (!rec.port || !rec.port->status(status)) {
            RecordApiError("InBufferCount (InBufferCountError)",
                           rec.port ? rec.port->lastError() : invalidHandle());
            return 0;
        }
        return static_cast<int32_t>(status.inQueue);
    } catch (const VbError& e) {
        recordRuntimeError("CommRead", e.number());
        return 0;
    }
}

int32_t ComPortAPI::CommRead(int intPortID, std::vector<uint8_t>& strData, int32_t) {
    try {
        record(intPortID);
        DoEvents();
        // Events may have closed or reopened the port: look at the record afresh.
        PortRecord& rec = record(intPortID);
        SerialStatus status;
        if (!rec.port || !rec.port->status(status)) {
            RecordApiError("CommRead (ClearCommError)", rec.port ? rec.port->lastError() : invalidHandle());
            return -1;
        }
        if (status.inQueue == 0) return 0;
        std::vector<uint8_t> bytes(status.inQueue);
        size_t got = 0;
        if (!rec.port->read(bytes.data(), bytes.size(), got)) {
            RecordCommError("CommRead (ReadFile)", rec, rec.port->lastError());
            return -1;
        }
        if (got == 0) return 0;
        bytes.resize(got);
        strData = std::move(bytes);
        return static_cast<int32_t>(got);
    } catch (const VbError& e) {
        recordRuntimeError("CommRead", e.number());
        return -1;
    }
}

int32_t ComPortAPI::CommWrite(int intPortID, const std::vector<uint8_t>& strData) {
    size_t written = 0;
    try {
        PortRecord& rec = record(intPortID);
        bool ok = rec.port && rec.port->write(strData.data(), strData.size(), written);
        SerialError error = rec.port ? rec.port->lastError() : invalidHandle();
        DoEvents();
        if (!ok) {
            // Events may have replaced the record's port; the flags come from whatever is there now.
            RecordCommError("CommWrite (WriteFile)", record(intPortID), error);
            return -1;
        }
        for (int i = 0; i < 10; ++i) DoEvents();
        return static_cast<int32_t>(written);
    } catch (const VbError& e) {
        recordRuntimeError("CommWrite", e.number());
        return static_cast<int32_t>(written);
    }
}

int32_t ComPortAPI::CommGetLine(int intPortID, int intLine, bool& blnState) {
    try {
        PortRecord& rec = record(intPortID);
        uint32_t bits = 0;
        if (!rec.port) return RecordApiError("CommReadCD (GetCommModemStatus)", invalidHandle());
        if (!rec.port->modemStatus(bits))
            return RecordApiError("CommReadCD (GetCommModemStatus)", rec.port->lastError());
        blnState = (static_cast<uint32_t>(intLine) & bits) != 0;
        return 0;
    } catch (const VbError& e) {
        return recordRuntimeError("CommReadCD", e.number());
    }
}

int32_t ComPortAPI::CommSetLine(int intPortID, int intLine, bool blnState) {
    try {
        PortRecord& rec = record(intPortID);
        int function = 0;
        switch (intLine) {
            case 1:
                function = blnState ? kSetBreak : kClrBreak;
                break;
            case 2:
                function = blnState ? kSetDtr : kClrDtr;
                break;
            case 3:
                function = blnState ? kSetRts : kClrRts;
                break;
            default:
                function = 0;
                break;
        }
        if (!rec.port) return RecordApiError("CommSetLine (EscapeCommFunction)", invalidHandle());
        if (!rec.port->escape(function))
            return RecordApiError("CommSetLine (EscapeCommFunction)", rec.port->lastError());
        return 0;
    } catch (const VbError& e) {
        return recordRuntimeError("CommSetLine", e.number());
    }
}

int32_t ComPortAPI::CommGetError(std::string& strMessage) {
    strMessage =
        "Error (" + std::to_string(LastErrorNumber) + "): " + LastErrorSource + " - " + LastErrorMessage;
    return LastErrorNumber;
}

}  // namespace sq
