#pragma once
// The simulated instrument: answers the program's requests from a state that writes change, keeps
// stored records, and has switches for the faults of a real link. It runs on the program's runtime:
// replies go out from the event loop after a latency (virtual time in tests), never from inside the
// program's write.
//
// In a test:
//   sq::metersim::Simulator sim;
//   auto pair = sim.plugIn(3);                // COM3 now reaches the simulator
//   sim.addRecord(sq::metersim::makeRecord({2022, 3, 30, 14, 5, 9}, 60, points));
//   ... drive the program ...
//   EXPECT_EQ(sim.countOf(sq::metersim::code::ReadRecordBlock), 4);
#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "metersim/protocol.h"
#include "metersim/record.h"
#include "metersim/request_reader.h"

namespace sq {
class MemoryPortPair;
}

namespace sq::metersim {

inline constexpr int kAnyCode = -1;
inline constexpr int kMaxRecords = 255;

// Settings as the instrument holds them, in wire layout where the layout is a block of bytes.
struct InstrumentState {
    std::string model = "VOK-LSR20";  // wire bytes, one per character
    uint8_t contrast = 20;            // the byte the program writes: (list index + 1) * 4
    uint8_t apoIndex = 3;
    uint8_t pause = 0;
    uint8_t keypadLock = 0;
    uint8_t autoScroll = 1;
    std::array<uint8_t, 26> dose{};
    std::array<uint8_t, 36> screenPages{};
    std::array<uint8_t, 45> ledAlarm{};
    std::array<uint8_t, 130> timerTable{};
    std::array<uint8_t, 36> welcomeText{};
    std::array<uint8_t, 12> serialNumber{};
    uint16_t calibrationLevel = 940;  // 0.1 dB; 0 = off
    std::array<uint8_t, 7> lunchTime{};
    uint32_t intervalSeconds = 60;
    DateTime calibrationDate{2025, 1, 15, 9, 30, 0};
    uint32_t memoryTotal = 4 * 1024 * 1024;
    std::optional<uint32_t> memoryRemain;  // unset: the total less what the records take

    InstrumentState();
    void setWelcomeText(const std::string& utf8);  // blank-padded or cut to 36 characters
    [[nodiscard]] std::string welcomeTextUtf8() const;
    void setSerialNumber(const std::string& utf8);  // blank-padded or cut to 12 characters
    [[nodiscard]] std::string serialNumberUtf8() const;
};

enum class ReplyFault { Drop, Duplicate, Split, Garbage, BadChecksum, Short, CutOff };

// A fault applied to replies that match `code` (kAnyCode: all). nth = 1 hits the first matching
// reply after the rule was added, nth = 2 the second, ...; nth = 0 hits every matching reply.
struct FaultRule {
    ReplyFault kind = ReplyFault::Drop;
    int code = kAnyCode;
    int nth = 1;
    size_t size = 0;  // Split: chunk size; Short: data bytes kept; CutOff: frame bytes sent
    Bytes garbage;    // Garbage: the bytes sent before the frame
    double gap = 0;   // Split: seconds between chunks; Duplicate: seconds before the copy
};

enum class Outcome {
    Answered,     // a reply was queued
    NoAnswer,     // understood but unanswerable (unknown record, block past the end, bad payload read)
    Busy,         // a repeated list request inside the busy window
    Erasing,      // arrived during the erase
    Silent,       // the silence switch was on
    BadChecksum,  // logged, not answered
    Unknown,      // a code the instrument does not know
};
std::string outcomeName(Outcome o);

struct LoggedRequest {
    double time = 0;  // runtime seconds when the frame was complete
    uint8_t code = 0;
    std::string name;  // "ReadRecordBlock"
    Bytes data;
    Bytes raw;
    bool checksumOk = true;
    Outcome outcome = Outcome::Answered;
    std::map<std::string, long long> fields;  // decoded numbers: "record", "block", "value", ...
    std::string text;                         // decoded text (clock, welcome text, serial number)
    [[nodiscard]] long long field(const std::string& key, long long fallback = -1) const;
};

struct SentReply {
    double time = 0;  // when its first byte went out
    uint8_t code = 0;
    Bytes frame;        // the intact frame
    Bytes wire;         // what went out (after faults); empty when dropped
    std::string fault;  // "", "drop", "duplicate", "split", "garbage", "bad-checksum", "short", ...
};

class Simulator {
public:
    Simulator();
    ~Simulator();
    Simulator(const Simulator&) = delete;
    Simulator& operator=(const Simulator&) = delete;

    // ---- transport ----
    // Plays the instrument end of the pair (the pair is kept alive while attached).
    void attach(std::shared_ptr<MemoryPortPair> pair);
    // A new in-memory pair registered as COM `com` and attached; unregistered again by detach().
    std::shared_ptr<MemoryPortPair> plugIn(int com);
    void detach();
    // Any other transport: the simulator writes through `out` and is fed with receive().
    void setOutput(std::function<void(const Bytes&)> out);
    void receive(const uint8_t* p, size_t n);
    void receive(const Bytes& b) { receive(b.data(), b.size()); }

    // ---- state ----
    InstrumentState& state() { return m_state; }
    [[nodiscard]] const InstrumentState& state() const { return m_state; }
    // The model name as text (UTF-8; sent one Latin-1 byte per character, '?' where none fits).
    void setModel(const std::string& utf8);
    // The clock runs with the runtime's clock from the moment it is set.
    void setClock(const DateTime& t);
    [[nodiscard]] DateTime clock() const;
    [[nodiscard]] uint32_t memoryRemain() const;
    [[nodiscard]] bool erasing() const { return m_eraseId != 0; }

    // ---- records (numbered 1 to N in list order) ----
    // Returns the record's number, or -1 when the memory already holds 255.
    int addRecord(StoredRecord r);
    [[nodiscard]] int recordCount() const { return static_cast<int>(m_records.size()); }
    StoredRecord& record(int number) { return m_records.at(static_cast<size_t>(number - 1)); }
    void clearRecords();

    // ---- switches ----
    void setLatency(double seconds) { m_latency = seconds; }
    // Paces replies like a serial line of `baud` bits per second, 10 bits a byte (0: all at once).
    void setBaudRate(double baud) { m_bytesPerSecond = baud / 10.0; }
    // A repeated next-entry request inside this window after an accepted list request is ignored.
    void setBusyWindow(double seconds) { m_busyWindow = seconds; }
    void setEraseSeconds(double seconds) { m_eraseSeconds = seconds; }
    // Silence: requests are logged and not acted on; nothing is sent.
    void setSilent(bool on) { m_silent = on; }
    // The write `code` is acknowledged with `failureByte` and changes nothing.
    void setWriteFails(uint8_t code, bool fails = true);
    void setFailureByte(uint8_t b) { m_failureByte = b; }
    void addFault(const FaultRule& rule);
    void addFault(ReplyFault kind, int nth, int code = kAnyCode) {
        addFault(FaultRule{kind, code, nth, 0, {}, 0});
    }
    void dropReply(int nth = 1, int code = kAnyCode);
    void duplicateReply(int nth = 1, int code = kAnyCode, double gap = 0);
    void splitReplies(size_t chunk, double gap = 0.002, int code = kAnyCode, int nth = 0);
    void garbageBeforeReply(Bytes garbage, int nth = 1, int code = kAnyCode);
    void corruptChecksum(int nth = 1, int code = kAnyCode);
    void shortenReply(size_t keepDataBytes, int nth = 1, int code = kAnyCode);
    // Only the first `keepBytes` bytes of the frame go out, the rest never (a reply cut off).
    void cutReply(size_t keepBytes, int nth = 1, int code = kAnyCode);
    // Removes every fault rule and failing write (latency, silence and windows stay).
    void clearFaults();

    // ---- unsolicited output ----
    void sendUnsolicited55(uint8_t writeCode);
    void sendReply(uint8_t code, const Bytes& data);  // through latency and faults
    void sendRaw(const Bytes& bytes);                 // at once, untouched

    // ---- log ----
    [[nodiscard]] const std::vector<LoggedRequest>& requests() const { return m_requests; }
    [[nodiscard]] std::vector<LoggedRequest> requestsWithCode(uint8_t code) const;
    [[nodiscard]] int countOf(uint8_t code) const;
    [[nodiscard]] const std::vector<SentReply>& replies() const { return m_replies; }
    [[nodiscard]] size_t skippedBytes() const { return m_skippedBytes; }
    void clearLog();
    // Called for every logged request (the command-line program prints them).
    void setRequestObserver(std::function<void(const LoggedRequest&)> fn) { m_observer = std::move(fn); }

private:
    struct Chunk {
        double offset;
        Bytes bytes;
    };
    struct RuleState {
        FaultRule rule;
        int seen = 0;
    };

    double timeNow();
    void onFrame(const RequestFrame& f);
    Outcome handle(const RequestFrame& f);
    Outcome handleRead(uint8_t c, const Bytes& data);
    std::optional<Bytes> settingReply(uint8_t c) const;
    Outcome handleWrite(uint8_t c, const Bytes& data);
    bool applyWrite(uint8_t c, const Bytes& data);
    Outcome handleListing(uint8_t c);
    Outcome handleRecordHeader(const Bytes& data);
    Outcome handleRecordBlock(const Bytes& data);
    void startErase();
    void finishErase();
    void queueReply(uint8_t c, const Bytes& data);
    std::vector<Chunk> applyFaults(const Bytes& frame, uint8_t c, std::string& faultName);
    // Spreads the chunks over the time the line takes to carry them; returns that time.
    double pace(std::vector<Chunk>& chunks) const;
    // Output leaves in the order it was queued, each part at its time, through one pending call.
    void schedule(double at, Bytes bytes);
    void armFlush();
    void flushDue();
    void write(const Bytes& bytes);
    Bytes memoryEntry(int number) const;

    InstrumentState m_state;
    DateTime m_clockBase;
    double m_clockSetAt = 0;
    double m_lastTime = 0;  // the runtime's clock when last looked at
    std::vector<StoredRecord> m_records;
    int m_listCursor = 0;  // number of the next entry 0x0D answers; 0: past the end
    double m_listBusyUntil = -1;
    int m_currentRecord = 0;

    double m_latency = 0.005;
    double m_bytesPerSecond = 0;
    double m_busyWindow = 0.020;
    double m_eraseSeconds = 3.0;
    bool m_silent = false;
    std::set<uint8_t> m_failingWrites;
    uint8_t m_failureByte = 0x00;
    std::vector<RuleState> m_rules;

    RequestReader m_reader;
    std::function<void(const Bytes&)> m_out;
    std::shared_ptr<MemoryPortPair> m_pair;
    int m_pluggedCom = 0;
    double m_outputFreeAt = 0;
    uint64_t m_eraseId = 0;
    std::deque<Chunk> m_outbox;  // parts to send, by time (offset = when)
    uint64_t m_flushId = 0;      // the pending call that sends the outbox's head
    std::shared_ptr<bool> m_alive;

    std::vector<LoggedRequest> m_requests;
    std::vector<SentReply> m_replies;
    size_t m_skippedBytes = 0;
    std::function<void(const LoggedRequest&)> m_observer;
};

// Fills the decoded fields and text of a logged request from its code and data.
void describeRequest(LoggedRequest& log);

// A record whose summary values are derived from its points (deriveSummary).
StoredRecord makeRecord(const DateTime& start, uint32_t intervalSeconds, std::vector<Point> points);

}  // namespace sq::metersim
