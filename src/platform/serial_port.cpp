#include "platform/serial_port.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <vector>

#include "platform/com_ports.h"
#include "platform/fill_in.h"
#include "platform/serial_memory.h"
#include "platform/serial_termios.h"

namespace sq {

namespace {

std::string lower(std::string_view s) {
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return std::tolower(c); });
    return out;
}

std::vector<std::string> split(std::string_view text, char sep) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find(sep, start);
        if (end == std::string_view::npos) end = text.size();
        parts.emplace_back(text.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

std::vector<std::string> words(std::string_view text) {
    std::vector<std::string> out;
    size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
        size_t start = i;
        while (i < text.size() && !std::isspace(static_cast<unsigned char>(text[i]))) ++i;
        if (i > start) out.emplace_back(text.substr(start, i - start));
    }
    return out;
}

std::string trim(std::string_view s) {
    size_t b = 0, e = s.size();
    while (b < e && std::isspace(static_cast<unsigned char>(s[b]))) ++b;
    while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1]))) --e;
    return std::string(s.substr(b, e - b));
}

bool parseBaud(const std::string& v, uint32_t& baud) {
    if (v.empty() || v.size() > 9 || !std::all_of(v.begin(), v.end(), ::isdigit)) return false;
    uint32_t n = static_cast<uint32_t>(std::stoul(v));
    // The old two-digit abbreviations of the mode command.
    static const std::pair<uint32_t, uint32_t> kShort[] = {{11, 110},  {15, 150},  {30, 300},
                                                           {60, 600},  {12, 1200}, {24, 2400},
                                                           {48, 4800}, {96, 9600}, {19, 19200}};
    for (auto [abbrev, full] : kShort)
        if (v.size() == 2 && n == abbrev) n = full;
    if (n == 0) return false;
    baud = n;
    return true;
}

bool parseParity(const std::string& v, char& parity) {
    if (v.size() != 1) return false;
    char c = static_cast<char>(std::toupper(static_cast<unsigned char>(v[0])));
    if (std::string_view("NEOMS").find(c) == std::string_view::npos) return false;
    parity = c;
    return true;
}

bool parseData(const std::string& v, uint8_t& bits) {
    if (v.size() != 1 || v[0] < '5' || v[0] > '8') return false;
    bits = static_cast<uint8_t>(v[0] - '0');
    return true;
}

bool parseStop(const std::string& v, uint8_t& stop) {
    if (v == "1")
        stop = 10;
    else if (v == "1.5")
        stop = 15;
    else if (v == "2")
        stop = 20;
    else
        return false;
    return true;
}

bool parseOnOff(const std::string& v, bool& flag) {
    if (v == "on")
        flag = true;
    else if (v == "off")
        flag = false;
    else
        return false;
    return true;
}

// dtr=hs and rts=hs/tg ask for handshaking: the line stays on and hardware flow control is used.
bool parseLineMode(const std::string& v, bool& line, bool& handshake) {
    if (v == "hs" || v == "tg") {
        line = true;
        handshake = true;
        return true;
    }
    return parseOnOff(v, line);
}

bool applyKey(const std::string& key, const std::string& v, LineSettings& s) {
    if (key == "baud") return parseBaud(v, s.baud);
    if (key == "parity") return parseParity(v, s.parity);
    if (key == "data") return parseData(v, s.dataBits);
    if (key == "stop") return parseStop(v, s.stopBits);
    if (key == "to") return parseOnOff(v, s.infiniteTimeouts);
    if (key == "xon") return parseOnOff(v, s.xonXoff);
    if (key == "odsr") return parseOnOff(v, s.dsrFlow);
    if (key == "octs") return parseOnOff(v, s.ctsFlow);
    if (key == "idsr") return parseOnOff(v, s.dsrSensitivity);
    if (key == "dtr") return v != "tg" && parseLineMode(v, s.dtr, s.dsrFlow);
    if (key == "rts") return parseLineMode(v, s.rts, s.ctsFlow);
    return false;
}

bool parseKeyForm(const std::string& text, LineSettings& s) {
    auto tokens = words(text);
    if (tokens.empty()) return false;
    for (const auto& token : tokens) {
        size_t eq = token.find('=');
        if (eq == std::string::npos || eq == 0) return false;
        if (!applyKey(token.substr(0, eq), token.substr(eq + 1), s)) return false;
    }
    return true;
}

// "baud,parity,data,stop[,x|p]"
bool parseShortForm(const std::string& text, LineSettings& s) {
    auto parts = split(text, ',');
    if (parts.empty() || parts.size() > 5) return false;
    for (auto& p : parts) p = trim(p);
    if (!parseBaud(parts[0], s.baud)) return false;
    if (parts.size() > 1 && !parts[1].empty() && !parseParity(parts[1], s.parity)) return false;
    if (parts.size() > 2 && !parts[2].empty() && !parseData(parts[2], s.dataBits)) return false;
    if (parts.size() > 3 && !parts[3].empty() && !parseStop(parts[3], s.stopBits)) return false;
    if (parts.size() > 4) {
        if (parts[4] == "x")
            s.xonXoff = true;
        else if (parts[4] == "p")
            s.ctsFlow = true;
        else if (!parts[4].empty())
            return false;
    }
    return true;
}

std::string stripPortPrefix(const std::string& text) {
    size_t colon = text.find(':');
    if (colon == std::string::npos || colon < 4 || text.compare(0, 3, "com") != 0) return text;
    for (size_t i = 3; i < colon; ++i)
        if (!std::isdigit(static_cast<unsigned char>(text[i]))) return text;
    return text.substr(colon + 1);
}

}  // namespace

bool parseModeText(std::string_view text, LineSettings& settings) {
    std::string body = trim(stripPortPrefix(lower(trim(text))));
    if (body.empty()) return false;
    LineSettings parsed = settings;
    bool ok = body.find('=') != std::string::npos ? parseKeyForm(body, parsed) : parseShortForm(body, parsed);
    if (ok) settings = parsed;
    return ok;
}

bool SerialPort::fail(int number, std::string detail) {
    m_error.number = number;
    m_error.detail = std::move(detail);
    return false;
}

std::string serialErrorMessage(int number) {
    char buffer[256] = {};
    // The GNU strerror_r returns the text, which need not be the buffer.
    const char* text = strerror_r(number, buffer, sizeof buffer - 1);
    return trim(text ? text : "");
}

std::string openFailureText(const std::string& portName, const SerialError& error,
                            const OpenFailureWords& words) {
    std::string reason;
    switch (error.number) {
        case ENOENT:
        case ENODEV:
        case ENXIO:
            reason = error.device.empty() ? words.notAssigned : words.notFound;
            break;
        case EBUSY:
            reason = words.busy;
            break;
        case EACCES:
        case EPERM:
            reason = fillIn(words.noPermission, {deviceGroup(error.device)});
            break;
        case ENOTTY:
            reason = words.notSerial;
            break;
        default:
            reason = serialErrorMessage(error.number);
            break;
    }
    const std::string port = error.device.empty() ? portName : portName + " (" + error.device + ")";
    return fillIn(words.sentence, {port, reason});
}

uint32_t writeTimeoutMs(const SerialTimeouts& timeouts, size_t n) {
    uint64_t total = static_cast<uint64_t>(timeouts.writeTotalMultiplier) * n + timeouts.writeTotalConstant;
    if (total == 0) return 1000;
    return static_cast<uint32_t>(std::min<uint64_t>(total, UINT32_MAX));
}

std::unique_ptr<SerialPort> openSerialPort(const std::string& name, SerialError& error) {
    std::unique_ptr<SerialPort> port;
    std::string device;
    if (!name.empty() && name[0] == '/') {
        device = name;
        port = openTermiosPort(name, error);
    } else {
        const ComPortLocation where = resolveComPort(comNumberFromName(name));
        switch (where.kind) {
            case ComPortLocation::Kind::Memory:
                device = "in-memory port";
                port = openMemoryPort(where.memory, error);
                break;
            case ComPortLocation::Kind::Device:
                device = where.devicePath;
                port = openTermiosPort(where.devicePath, error);
                break;
            case ComPortLocation::Kind::None:
                error.number = ENOENT;
                error.detail = name + " names no serial port (COM1 to COM256)";
                break;
        }
    }
    error.device = port ? std::string() : device;
    return port;
}

}  // namespace sq
