// A 65,535-point record (6,554 block replies) decoded into the record list window's point grid,
// offscreen, without the link's waits: the header arm, then every block arm in turn. Reported per
// run: time, and the process's peak resident memory.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <string>
#include <vector>

#include "bench_support.h"
#include "decoder/record_arms.h"
#include "metersim/record.h"
#include "metersim/simulator.h"
#include "platform/program_folder.h"
#include "records/data_list_frm.h"
#include "shared/download_state.h"
#include "shared/record_state.h"
#include "shared/state.h"
#include "texts/language_texts.h"

namespace {

namespace ms = sq::metersim;
constexpr size_t kLargestRecord = sq::bench::kLargestRecord;

// The record list window without the link and the memory pane.
class WindowTarget : public sq::RecordDownloadTarget {
public:
    explicit WindowTarget(sq::DataListFrm& frm) : m_frm(frm) {}
    void updateSummaryGrid() override { m_frm.UpdateQVX410Grid(); }
    void gridInfo() override { m_frm.GridInfo(); }
    void addPointRow(const sq::PointRow& row) override { m_frm.QVX410PointGrid.AddItem(row.text()); }
    void enableToolbar() override { m_frm.Toolbar1.setEnabled(true); }
    void readRecordBlock(int32_t) override {}
    void setMemoryMessage(const std::string& text) override { message = text; }
    std::string message;

private:
    sq::DataListFrm& m_frm;
};

sq::ReplyFrame frameOf(uint8_t code, const ms::Bytes& data) {
    sq::ReplyFrame f;
    f.Command = code;
    f.Length = static_cast<uint16_t>(data.size());
    f.Data = data;
    return f;
}

struct EncodedRecord {
    sq::ReplyFrame header;
    std::vector<sq::ReplyFrame> blocks;
};

const EncodedRecord& largestRecord() {
    static const EncodedRecord encoded = [] {
        std::vector<ms::Point> points;
        for (size_t p = 0; p < kLargestRecord; ++p)
            points.push_back({static_cast<uint16_t>(600 + p % 400), static_cast<uint16_t>(650 + p % 350),
                              static_cast<uint16_t>(900 + p % 500), static_cast<uint16_t>(950 + p % 450),
                              p % 97 == 0});
        const ms::StoredRecord r = ms::makeRecord({2022, 3, 30, 14, 5, 9}, 1, points);
        EncodedRecord e;
        e.header = frameOf(0x0E, ms::encodeHeader(r));
        for (size_t b = 0; b < ms::blockCount(r); ++b)
            e.blocks.push_back(frameOf(0x12, ms::encodeBlock(r, b)));
        return e;
    }();
    return encoded;
}

void BM_DecodeLargestRecordIntoPointGrid(benchmark::State& state) {
    const EncodedRecord& record = largestRecord();
    size_t rows = 0;
    for (auto _ : state) {
        state.PauseTiming();
        sq::windows().unload(sq::DataListFrm::kName);
        sq::windows().collectUnloaded();
        sq::DataListFrm::ClearQvx410Grid();
        sq::DataListFrm& frm = sq::form<sq::DataListFrm>();
        WindowTarget target(frm);
        sq::downloadState() = {};
        sq::downloadState().phase = sq::DownloadPhase::AwaitingHeader;
        state.ResumeTiming();

        sq::DecodeRecordHeader(record.header, target);
        for (const sq::ReplyFrame& block : record.blocks) sq::DecodeRecordBlock(block, target);
        frm.QVX410PointGrid.flush();

        state.PauseTiming();
        rows = static_cast<size_t>(frm.QVX410PointGrid.Rows() - 1);
        if (rows != kLargestRecord || target.message != "Load Complete") state.SkipWithError("incomplete");
        state.ResumeTiming();
    }
    state.counters["rows"] = static_cast<double>(rows);
    state.counters["blocks"] = static_cast<double>(record.blocks.size());
    state.counters["peak_MB"] = sq::bench::statusMB("VmHWM");
}
BENCHMARK(BM_DecodeLargestRecordIntoPointGrid)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

int main(int argc, char** argv) {
    sq::bench::OffscreenRun offscreen;
    QApplication app(argc, argv);
    sq::bench::prepareProgram();
    sq::shared().DeviceModel = "VOK-LSR20";
    sq::windows().registerWindow(sq::DataListFrm::kName, [] { return std::make_unique<sq::DataListFrm>(); });
    return sq::bench::runBenchmarks(argc, argv);
}
