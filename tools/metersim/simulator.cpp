#include "metersim/simulator.h"

#include <QDateTime>
#include <algorithm>

#include "platform/encoding.h"
#include "platform/memory_port.h"
#include "platform/runtime.h"

namespace sq::metersim {

namespace {

double now() {
    return Runtime::get().now();
}

DateTime localNow() {
    QDateTime t = QDateTime::currentDateTime();
    return DateTime{t.date().year(), t.date().month(),  t.date().day(),
                    t.time().hour(), t.time().minute(), t.time().second()};
}

// Fixed data lengths of the writes; 0x8D and 0x8E take a variable count.
int writeLength(uint8_t c) {
    switch (c) {
        case code::WriteLcdContrast:
        case code::WriteLcdApo:
        case code::WritePauseSetting:
        case code::WriteAutoLockKeypad:
        case code::WriteAutoScroll:
            return 1;
        case code::WriteMeterClock:
            return 7;
        case code::WriteDoseSettings:
            return 26;
        case code::WriteScreenSettings:
            return 36;
        case code::WriteLedAlarm:
            return 45;
        case code::WriteTimerSettings1:
            return 46;
        case code::WriteTimerSettings2:
            return 49;
        case code::WriteTimerSettings3:
            return 35;
        case code::WriteCalibrationLevel:
            return 2;
        case code::WriteLunchTime:
            return 7;
        case code::WriteIntervalTime:
            return 4;
        default:
            return -1;
    }
}

template <size_t N>
void copyInto(std::array<uint8_t, N>& field, size_t at, const Bytes& data, size_t max = N) {
    size_t n = std::min({data.size(), max, N - at});
    std::copy_n(data.begin(), n, field.begin() + static_cast<std::ptrdiff_t>(at));
}

}  // namespace

std::string outcomeName(Outcome o) {
    switch (o) {
        case Outcome::Answered:
            return "answered";
        case Outcome::NoAnswer:
            return "no answer";
        case Outcome::Busy:
            return "ignored (busy)";
        case Outcome::Erasing:
            return "ignored (erasing)";
        case Outcome::Silent:
            return "ignored (silent)";
        case Outcome::BadChecksum:
            return "bad checksum";
        case Outcome::Unknown:
            return "unknown command";
    }
    return "";
}

long long LoggedRequest::field(const std::string& key, long long fallback) const {
    auto it = fields.find(key);
    return it == fields.end() ? fallback : it->second;
}

Simulator::Simulator() : m_alive(std::make_shared<bool>(true)) {
    setClock(localNow());
    m_reader.setFrameHandler([this](const RequestFrame& f) { onFrame(f); });
    m_reader.setSkipHandler([this](const Bytes& b) { m_skippedBytes += b.size(); });
}

Simulator::~Simulator() {
    *m_alive = false;
    if (m_flushId) Runtime::get().cancel(m_flushId);
    if (m_eraseId) Runtime::get().cancel(m_eraseId);
    detach();
}

// ---- transport ----

void Simulator::attach(std::shared_ptr<MemoryPortPair> pair) {
    detach();
    m_pair = std::move(pair);
    MemoryEndpoint& end = m_pair->instrument();
    end.setOnReadable([this, &end]() {
        uint8_t buf[512];
        while (size_t n = end.read(buf, sizeof buf)) receive(buf, n);
    });
    m_out = [&end](const Bytes& b) { end.write(b.data(), b.size()); };
}

std::shared_ptr<MemoryPortPair> Simulator::plugIn(int com) {
    auto pair = std::make_shared<MemoryPortPair>();
    MemoryPortPair::registerPort(com, pair);
    attach(pair);
    m_pluggedCom = com;
    return pair;
}

void Simulator::detach() {
    if (m_pair) {
        m_pair->instrument().setOnReadable({});
        m_pair.reset();
        m_out = nullptr;
    }
    if (m_pluggedCom) MemoryPortPair::unregisterPort(m_pluggedCom);
    m_pluggedCom = 0;
}

void Simulator::setOutput(std::function<void(const Bytes&)> out) {
    m_out = std::move(out);
}

void Simulator::receive(const uint8_t* p, size_t n) {
    m_reader.feed(p, n, timeNow());
}

// The runtime's clock restarts at 0 when a test switches to virtual time; times kept from before
// would then lie in the future, so they are moved back with it.
double Simulator::timeNow() {
    double t = now();
    if (t < m_lastTime) {
        m_clockBase = addSeconds(m_clockBase, static_cast<long long>(m_lastTime - m_clockSetAt));
        m_clockSetAt = t;
        m_outputFreeAt = t;
        m_listBusyUntil = -1;
        for (Chunk& ch : m_outbox) ch.offset = t;
        if (m_flushId) {
            Runtime::get().cancel(m_flushId);
            m_flushId = 0;
        }
        m_lastTime = t;
        if (!m_outbox.empty()) armFlush();
    }
    m_lastTime = t;
    return t;
}

void Simulator::write(const Bytes& bytes) {
    if (m_out && !bytes.empty()) m_out(bytes);
}

// ---- state ----

void Simulator::setModel(const std::string& utf8) {
    m_state.model = utf8ToLatin1(utf8);
}

void Simulator::setClock(const DateTime& t) {
    m_clockBase = t;
    m_clockSetAt = timeNow();
}

DateTime Simulator::clock() const {
    return addSeconds(m_clockBase, static_cast<long long>(std::max(0.0, now() - m_clockSetAt)));
}

uint32_t Simulator::memoryRemain() const {
    if (m_state.memoryRemain) return *m_state.memoryRemain;
    uint32_t used = 0;
    for (const auto& r : m_records) used += storedSize(r);
    return used >= m_state.memoryTotal ? 0 : m_state.memoryTotal - used;
}

int Simulator::addRecord(StoredRecord r) {
    if (m_records.size() >= kMaxRecords) return -1;
    if (r.listTime == DateTime{}) r.listTime = r.header.start;
    m_records.push_back(std::move(r));
    return recordCount();
}

void Simulator::clearRecords() {
    m_records.clear();
    m_currentRecord = 0;
    m_listCursor = 0;
}

// ---- requests ----

void Simulator::onFrame(const RequestFrame& f) {
    LoggedRequest log;
    log.time = timeNow();
    log.code = f.code;
    log.name = commandName(f.code);
    log.data = f.data;
    log.raw = f.raw;
    log.checksumOk = f.checksumOk;
    describeRequest(log);
    log.outcome = handle(f);
    m_requests.push_back(log);
    if (m_observer) m_observer(m_requests.back());
}

Outcome Simulator::handle(const RequestFrame& f) {
    if (!f.checksumOk) return Outcome::BadChecksum;
    if (m_silent) return Outcome::Silent;
    if (erasing()) return Outcome::Erasing;
    if (isWriteCode(f.code)) return handleWrite(f.code, f.data);
    return handleRead(f.code, f.data);
}

Outcome Simulator::handleRead(uint8_t c, const Bytes& data) {
    switch (c) {
        case code::ClearMeterMemory:
            startErase();
            return Outcome::Answered;
        case code::ReadMemoryInfo:
        case code::ReadMemoryInfoNext:
            return handleListing(c);
        case code::ReadRecordHeader:
            return handleRecordHeader(data);
        case code::ReadRecordBlock:
            return handleRecordBlock(data);
        default:
            break;
    }
    std::optional<Bytes> reply = settingReply(c);
    if (!reply) return Outcome::Unknown;
    queueReply(c, *reply);
    return Outcome::Answered;
}

// The data of a read that the state answers directly; nullopt for a code that is no such read.
std::optional<Bytes> Simulator::settingReply(uint8_t c) const {
    const InstrumentState& s = m_state;
    auto bytesOf = [](const auto& field) { return Bytes(field.begin(), field.end()); };
    Bytes out;
    switch (c) {
        case code::ReadDeviceModel:
            return bytesOf(s.model);
        case code::ReadLcdContrast:
            return Bytes{s.contrast};
        case code::ReadMeterClock:
            putBeDateTime(out, clock());
            return out;
        case code::ReadLcdApo:
            return Bytes{s.apoIndex};
        case code::ReadDoseSettings:
            return bytesOf(s.dose);
        case code::ReadScreenSettings:
            return bytesOf(s.screenPages);
        case code::ReadPauseSetting:
            return Bytes{s.pause};
        case code::ReadLedAlarm:
            return bytesOf(s.ledAlarm);
        case code::ReadAutoLockKeypad:
            return Bytes{s.keypadLock};
        case code::ReadAutoScroll:
            return Bytes{s.autoScroll};
        case code::ReadTimerSettings:
            return bytesOf(s.timerTable);
        case code::ReadMemorySize:
            putBe32(out, s.memoryTotal);
            putBe32(out, memoryRemain());
            return out;
        case code::ReadWelcomeText:
            return bytesOf(s.welcomeText);
        case code::ReadSerialNumber:
            return bytesOf(s.serialNumber);
        case code::ReadCalibrationLevel:
            putBe16(out, s.calibrationLevel);
            return out;
        case code::ReadLunchTime:
            return bytesOf(s.lunchTime);
        case code::ReadIntervalTime:
            putLe32(out, s.intervalSeconds);
            return out;
        case code::ReadCalibrationDate:
            putBeDateTime(out, s.calibrationDate);
            return out;
        default:
            return std::nullopt;
    }
}

Outcome Simulator::handleWrite(uint8_t c, const Bytes& data) {
    if (writeLength(c) < 0 && c != code::WriteWelcomeText && c != code::WriteSerialNumber)
        return Outcome::Unknown;
    bool taken = !m_failingWrites.count(c) && applyWrite(c, data);
    queueReply(c, {taken ? c : m_failureByte});
    return Outcome::Answered;
}

// Stores a write; false (and nothing changed) when its payload does not fit the layout.
bool Simulator::applyWrite(uint8_t c, const Bytes& d) {
    int expected = writeLength(c);
    if (expected >= 0 && d.size() != static_cast<size_t>(expected)) return false;
    InstrumentState& s = m_state;
    switch (c) {
        case code::WriteLcdContrast:
            s.contrast = d[0];
            break;
        case code::WriteMeterClock:
            setClock(DateTime{d[0] << 8 | d[1], d[2], d[3], d[4], d[5], d[6]});
            break;
        case code::WriteLcdApo:
            s.apoIndex = d[0];
            break;
        case code::WriteDoseSettings:
            copyInto(s.dose, 0, d);
            break;
        case code::WriteScreenSettings:
            copyInto(s.screenPages, 0, d);
            break;
        case code::WritePauseSetting:
            s.pause = d[0];
            break;
        case code::WriteLedAlarm:
            copyInto(s.ledAlarm, 0, d);
            break;
        case code::WriteAutoLockKeypad:
            s.keypadLock = d[0];
            break;
        case code::WriteAutoScroll:
            s.autoScroll = d[0];
            break;
        case code::WriteTimerSettings1:
            copyInto(s.timerTable, 0, d);
            break;
        case code::WriteTimerSettings2:
            copyInto(s.timerTable, 46, d);
            break;
        case code::WriteTimerSettings3:
            copyInto(s.timerTable, 95, d);
            break;
        case code::WriteWelcomeText:
            if (d.empty()) return false;
            copyInto(s.welcomeText, 0, d);
            break;
        case code::WriteSerialNumber:
            if (d.empty() || d.size() > s.serialNumber.size()) return false;
            copyInto(s.serialNumber, 0, d);
            break;
        case code::WriteCalibrationLevel:
            s.calibrationLevel = static_cast<uint16_t>(d[0] << 8 | d[1]);
            break;
        case code::WriteLunchTime:
            copyInto(s.lunchTime, 0, d);
            break;
        case code::WriteIntervalTime:
            s.intervalSeconds =
                static_cast<uint32_t>(d[0] | d[1] << 8 | d[2] << 16) | static_cast<uint32_t>(d[3]) << 24;
            break;
        default:
            return false;
    }
    return true;
}

Bytes Simulator::memoryEntry(int number) const {
    Bytes out;
    putBeDateTime(out, m_records.at(static_cast<size_t>(number - 1)).listTime);
    out.push_back(static_cast<uint8_t>(number));
    out.push_back(static_cast<uint8_t>(m_records.size()));
    return out;
}

// 0x0C starts the list at entry 1; 0x0D answers the next entry; past the end (or on an empty
// memory) the answer is 0xFF with the request's code as its first data byte.
Outcome Simulator::handleListing(uint8_t c) {
    double t = now();
    if (c == code::ReadMemoryInfoNext && t < m_listBusyUntil) return Outcome::Busy;
    m_listBusyUntil = t + m_busyWindow;
    if (c == code::ReadMemoryInfo) m_listCursor = 1;
    if (m_listCursor >= 1 && m_listCursor <= recordCount()) {
        queueReply(c, memoryEntry(m_listCursor));
        m_listCursor = m_listCursor < recordCount() ? m_listCursor + 1 : 0;
    } else {
        m_listCursor = 0;
        queueReply(code::MemoryInfoEnd, {c});
    }
    return Outcome::Answered;
}

Outcome Simulator::handleRecordHeader(const Bytes& data) {
    if (data.empty() || data[0] < 1 || data[0] > recordCount()) return Outcome::NoAnswer;
    m_currentRecord = data[0];
    queueReply(code::ReadRecordHeader, encodeHeader(record(m_currentRecord)));
    return Outcome::Answered;
}

Outcome Simulator::handleRecordBlock(const Bytes& data) {
    if (data.size() < 2 || m_currentRecord < 1 || m_currentRecord > recordCount()) return Outcome::NoAnswer;
    size_t block = static_cast<size_t>(data[0] << 8 | data[1]);
    Bytes out = encodeBlock(record(m_currentRecord), block);
    if (out.empty()) return Outcome::NoAnswer;
    queueReply(code::ReadRecordBlock, out);
    return Outcome::Answered;
}

void Simulator::startErase() {
    auto alive = m_alive;
    m_eraseId = Runtime::get().callAfter(m_eraseSeconds, [this, alive]() {
        if (*alive) finishErase();
    });
}

void Simulator::finishErase() {
    m_eraseId = 0;
    clearRecords();
    queueReply(code::ClearMeterMemory, {code::ClearMeterMemory});
}

// ---- switches ----

void Simulator::setWriteFails(uint8_t c, bool fails) {
    if (fails)
        m_failingWrites.insert(c);
    else
        m_failingWrites.erase(c);
}

void Simulator::addFault(const FaultRule& rule) {
    m_rules.push_back({rule, 0});
}

void Simulator::dropReply(int nth, int c) {
    addFault({ReplyFault::Drop, c, nth, 0, {}, 0});
}

void Simulator::duplicateReply(int nth, int c, double gap) {
    addFault({ReplyFault::Duplicate, c, nth, 0, {}, gap});
}

void Simulator::splitReplies(size_t chunk, double gap, int c, int nth) {
    addFault({ReplyFault::Split, c, nth, std::max<size_t>(chunk, 1), {}, gap});
}

void Simulator::garbageBeforeReply(Bytes garbage, int nth, int c) {
    addFault({ReplyFault::Garbage, c, nth, 0, std::move(garbage), 0});
}

void Simulator::corruptChecksum(int nth, int c) {
    addFault({ReplyFault::BadChecksum, c, nth, 0, {}, 0});
}

void Simulator::shortenReply(size_t keepDataBytes, int nth, int c) {
    addFault({ReplyFault::Short, c, nth, keepDataBytes, {}, 0});
}

void Simulator::cutReply(size_t keepBytes, int nth, int c) {
    addFault({ReplyFault::CutOff, c, nth, keepBytes, {}, 0});
}

void Simulator::clearFaults() {
    m_rules.clear();
    m_failingWrites.clear();
}

// ---- output ----

void Simulator::sendUnsolicited55(uint8_t writeCode) {
    sendReply(code::ResendRequest, {writeCode});
}

void Simulator::sendReply(uint8_t c, const Bytes& data) {
    if (!m_silent) queueReply(c, data);
}

void Simulator::sendRaw(const Bytes& bytes) {
    write(bytes);
}

std::vector<Simulator::Chunk> Simulator::applyFaults(const Bytes& frame, uint8_t c, std::string& faultName) {
    std::vector<Chunk> chunks{{0, frame}};
    for (auto& rs : m_rules) {
        const FaultRule& r = rs.rule;
        if (r.code != kAnyCode && r.code != c) continue;
        ++rs.seen;
        if (r.nth != 0 && rs.seen != r.nth) continue;
        Bytes& bytes = chunks.front().bytes;
        switch (r.kind) {
            case ReplyFault::Drop:
                faultName = "drop";
                return {};
            case ReplyFault::BadChecksum:
                bytes.back() ^= 0xFF;
                faultName += "bad-checksum ";
                break;
            case ReplyFault::Short: {
                Bytes data(bytes.begin() + 4, bytes.end() - 1);
                data.resize(std::min(data.size(), r.size));
                bytes = buildReply(c, data);
                faultName += "short ";
                break;
            }
            case ReplyFault::CutOff:
                bytes.resize(std::min(bytes.size(), r.size));
                faultName += "cut-off ";
                break;
            case ReplyFault::Garbage:
                bytes.insert(bytes.begin(), r.garbage.begin(), r.garbage.end());
                faultName += "garbage ";
                break;
            case ReplyFault::Duplicate:
                chunks.push_back({r.gap, bytes});
                faultName += "duplicate ";
                break;
            case ReplyFault::Split: {
                std::vector<Chunk> split;
                double offset = 0;
                for (const Chunk& ch : chunks) {
                    for (size_t i = 0; i < ch.bytes.size(); i += r.size, offset += r.gap) {
                        size_t end = std::min(ch.bytes.size(), i + r.size);
                        split.push_back({std::max(offset, ch.offset),
                                         Bytes(ch.bytes.begin() + i, ch.bytes.begin() + end)});
                    }
                }
                chunks = std::move(split);
                faultName += "split ";
                break;
            }
        }
    }
    if (!faultName.empty() && faultName.back() == ' ') faultName.pop_back();
    return chunks;
}

void Simulator::queueReply(uint8_t c, const Bytes& data) {
    Bytes frame = buildReply(c, data);
    SentReply sent;
    sent.code = c;
    sent.frame = frame;
    std::vector<Chunk> chunks = applyFaults(frame, c, sent.fault);
    std::stable_sort(chunks.begin(), chunks.end(),
                     [](const Chunk& a, const Chunk& b) { return a.offset < b.offset; });
    double duration = pace(chunks);
    double start = std::max(timeNow() + m_latency, m_outputFreeAt);
    sent.time = start;
    for (const Chunk& ch : chunks) {
        sent.wire.insert(sent.wire.end(), ch.bytes.begin(), ch.bytes.end());
        schedule(start + ch.offset, ch.bytes);
    }
    m_outputFreeAt = std::max(m_outputFreeAt, start + duration);
    m_replies.push_back(std::move(sent));
}

double Simulator::pace(std::vector<Chunk>& chunks) const {
    double end = chunks.empty() ? 0 : chunks.back().offset;
    if (m_bytesPerSecond <= 0) return end;
    constexpr size_t kPacedBytes = 32;
    std::vector<Chunk> paced;
    double t = 0;
    for (const Chunk& ch : chunks) {
        t = std::max(t, ch.offset);
        for (size_t i = 0; i < ch.bytes.size(); i += kPacedBytes) {
            size_t n = std::min(kPacedBytes, ch.bytes.size() - i);
            auto first = ch.bytes.begin() + static_cast<std::ptrdiff_t>(i);
            paced.push_back({t, Bytes(first, first + static_cast<std::ptrdiff_t>(n))});
            t += static_cast<double>(n) / m_bytesPerSecond;
        }
    }
    chunks = std::move(paced);
    return t;
}

void Simulator::schedule(double at, Bytes bytes) {
    m_outbox.push_back({at, std::move(bytes)});
    if (!m_flushId) armFlush();
}

// Never writes from inside the call that queued the bytes (that may be the program's own write).
void Simulator::armFlush() {
    auto alive = m_alive;
    double wait = std::max(0.0, m_outbox.front().offset - timeNow());
    m_flushId = Runtime::get().callAfter(wait, [this, alive]() {
        if (*alive) flushDue();
    });
}

void Simulator::flushDue() {
    m_flushId = 0;
    double t = timeNow();
    while (!m_outbox.empty() && m_outbox.front().offset <= t + 1e-6) {
        Bytes bytes = std::move(m_outbox.front().bytes);
        m_outbox.pop_front();
        write(bytes);
    }
    if (!m_outbox.empty()) armFlush();
}

// ---- log ----

std::vector<LoggedRequest> Simulator::requestsWithCode(uint8_t c) const {
    std::vector<LoggedRequest> out;
    for (const auto& r : m_requests)
        if (r.code == c) out.push_back(r);
    return out;
}

int Simulator::countOf(uint8_t c) const {
    return static_cast<int>(
        std::count_if(m_requests.begin(), m_requests.end(), [c](const auto& r) { return r.code == c; }));
}

void Simulator::clearLog() {
    m_requests.clear();
    m_replies.clear();
    m_skippedBytes = 0;
}

StoredRecord makeRecord(const DateTime& start, uint32_t intervalSeconds, std::vector<Point> points) {
    StoredRecord r;
    r.header.start = start;
    r.header.interval = intervalSeconds;
    r.points = std::move(points);
    deriveSummary(r);
    return r;
}

}  // namespace sq::metersim
