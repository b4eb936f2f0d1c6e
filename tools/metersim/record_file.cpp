#include "metersim/record_file.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "platform/text_file.h"

namespace sq::metersim {

namespace {

// Room for a full memory of large records; a larger file, a pipe or a device is not read.
constexpr ReadLimit kRecordsFileReadLimit{256u << 20};

bool readPoint(const QJsonValue& v, Point& p) {
    QJsonArray a = v.toArray();
    if (a.size() < 4 || a.size() > 5) return false;
    for (const auto& x : a)
        if (!x.isDouble() || x.toInt(-1) < 0 || x.toInt(-1) > 32767) return false;
    p = Point{static_cast<uint16_t>(a[0].toInt()), static_cast<uint16_t>(a[1].toInt()),
              static_cast<uint16_t>(a[2].toInt()), static_cast<uint16_t>(a[3].toInt()),
              a.size() == 5 && a[4].toInt() != 0};
    return true;
}

void readChannels(const QJsonArray& channels, RecordHeader& h) {
    for (qsizetype i = 0; i < channels.size() && i < 3; ++i) {
        QJsonObject c = channels[i].toObject();
        DoseChannelSummary& s = h.channel[static_cast<size_t>(i)];
        s.threshold = static_cast<uint8_t>(c.value("threshold").toInt(s.threshold));
        s.criterion = static_cast<uint8_t>(c.value("criterion").toInt(s.criterion));
        s.exchangeRate = static_cast<uint8_t>(c.value("exchangeRate").toInt(s.exchangeRate));
        s.exceedanceLevel = static_cast<uint8_t>(c.value("exceedanceLevel").toInt(s.exceedanceLevel));
        s.pwDurationMinutes =
            static_cast<uint32_t>(c.value("pwDuration").toInt(static_cast<int>(s.pwDurationMinutes)));
    }
}

bool readRecord(const QJsonObject& o, StoredRecord& r, std::string& error) {
    if (!parseDateTime(o.value("start").toString().toStdString(), r.header.start)) {
        error = "a record needs \"start\" as yyyy/mm/dd hh:nn:ss";
        return false;
    }
    r.header.interval = static_cast<uint32_t>(o.value("interval").toInt(60));
    readChannels(o.value("channels").toArray(), r.header);
    QJsonArray pages = o.value("pages").toArray();
    for (qsizetype p = 0; p < pages.size() && p < 14; ++p)
        r.header.pageChannel[static_cast<size_t>(p)] = static_cast<uint8_t>(pages[p].toInt());
    for (const auto& v : o.value("points").toArray()) {
        Point p;
        if (!readPoint(v, p)) {
            error = "a point is [LAVG, LEQ, LCPK, LZPK] or [..., mark] in tenths of a dB (0 to 32767)";
            return false;
        }
        r.points.push_back(p);
    }
    if (r.points.size() > 65535) {
        error = "a record holds at most 65535 points";
        return false;
    }
    deriveSummary(r);
    if (o.contains("listTime") && !parseDateTime(o.value("listTime").toString().toStdString(), r.listTime)) {
        error = "\"listTime\" must be yyyy/mm/dd hh:nn:ss";
        return false;
    }
    return true;
}

}  // namespace

bool loadRecordsFile(const std::string& path, std::vector<StoredRecord>& out, std::string& error) {
    auto bytes = readFileBytes(path, kRecordsFileReadLimit);
    if (!bytes) {
        error = "cannot read " + path;
        return false;
    }
    QJsonParseError parseError{};
    QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(*bytes), &parseError);
    if (doc.isNull() || !doc.object().value("records").isArray()) {
        error = path + ": not a records file (" + parseError.errorString().toStdString() + ")";
        return false;
    }
    std::vector<StoredRecord> records;
    for (const auto& v : doc.object().value("records").toArray()) {
        StoredRecord r;
        if (!readRecord(v.toObject(), r, error)) {
            error = path + ", record " + std::to_string(records.size() + 1) + ": " + error;
            return false;
        }
        records.push_back(std::move(r));
    }
    out = std::move(records);
    return true;
}

bool saveRecordsFile(const std::string& path, const std::vector<StoredRecord>& records) {
    QJsonArray list;
    for (const StoredRecord& r : records) {
        QJsonObject o;
        o["start"] = QString::fromStdString(formatDateTime(r.header.start));
        o["listTime"] = QString::fromStdString(formatDateTime(r.listTime));
        o["interval"] = static_cast<qint64>(r.header.interval);
        QJsonArray channels;
        for (const auto& c : r.header.channel)
            channels.append(QJsonObject{{"threshold", c.threshold},
                                        {"criterion", c.criterion},
                                        {"exchangeRate", c.exchangeRate},
                                        {"exceedanceLevel", c.exceedanceLevel},
                                        {"pwDuration", static_cast<qint64>(c.pwDurationMinutes)}});
        o["channels"] = channels;
        QJsonArray pages;
        for (uint8_t channel : r.header.pageChannel) pages.append(channel);
        o["pages"] = pages;
        QJsonArray points;
        for (const Point& p : r.points) {
            QJsonArray a{p.lavg, p.leq, p.lcpk, p.lzpk};
            if (p.mark) a.append(1);
            points.append(a);
        }
        o["points"] = points;
        list.append(o);
    }
    QByteArray json = QJsonDocument(QJsonObject{{"records", list}}).toJson(QJsonDocument::Compact);
    return writeFileAtomic(path, std::string_view(json.constData(), static_cast<size_t>(json.size())));
}

}  // namespace sq::metersim
