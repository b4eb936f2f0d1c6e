// The printed report of the largest record (65,535 points) from the record list window, point table
// included, printed through Qt's printer into a PDF file, offscreen, with events paced as in the
// program; beside it, in the same run:
//   - the baseline: the same page printer calls, recorded once from the same report and replayed
//     straight onto a QPainter over the same kind of printer, without the report's logic or events;
//   - the report again with a stand-in for an open port's receive pump (a 1 ms timer whose every
//     tick waits 0.1 s in the event loop).
// Reported: time, the PDF's pages (pdfinfo) and footers (pdftotext), the process's peak resident
// memory and how far the report raised it above the memory in use before it.
#include "reports/print_report.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <algorithm>
#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include "bench_support.h"
#include "platform/dialogs.h"
#include "platform/runtime.h"
#include "platform/ui/printer_surface.h"
#include "platform/ui/recording_surface.h"
#include "records/data_list_frm.h"
#include "shared/state.h"
#include "support/scripted_dialogs.h"

namespace {

using namespace sq::bench;

// pdfinfo's page count, and the pages whose text carries their own footer.
std::pair<int, int> pagesAndFooters(const std::string& pdf) {
    const int pages = pdfPageCount(pdf);
    const std::string text = runCommand("pdftotext -layout '" + pdf + "' -");
    int footers = 0;
    size_t begin = 0;
    for (size_t ff = text.find('\f'); ff != std::string::npos; ff = text.find('\f', begin)) {
        const std::string page = text.substr(begin, ff - begin);
        const std::string number = std::to_string(footers + 1);
        if (std::regex_search(page, std::regex("(^|\\s)P *- *" + number + "(\\s|$)"))) ++footers;
        begin = ff + 1;
    }
    return {pages, footers};
}

std::string pointRow(int p) {
    auto level = [marked = p % 97 == 0](int tenths) { return levelCell(marked, tenths); };
    return std::to_string(p) + "\t2022/03/30 " + std::to_string(10 + p / 3600 % 14) + ":" +
           std::to_string(10 + p / 60 % 50) + ":" + std::to_string(10 + p % 50) + "\t" +
           level(p % 211 == 5 ? 0 : 400 + p % 1200) + "\t" + level(650 + p % 350) + "\t" +
           level(900 + p % 500) + "\t" + level(950 + p % 450) + "\t";
}

sq::DataListFrm& largestRecordWindow() {
    sq::DataListFrm& frm = sq::form<sq::DataListFrm>();
    sq::FlexGrid& points = frm.QVX410PointGrid;
    if (points.Rows() != kLargestRecord + 1) {
        fillPointGrid(points, kLargestRecord, pointRow);
        const char* values[] = {"Zo\u00E9 Martin", "Line 3 press", "Quality", "ACME, Inc.", "Night shift"};
        for (int r = 0; r < 5; ++r) frm.GridUserInfo.setTextMatrix(r, 1, values[r]);
    }
    return frm;
}

sq::ScriptedDialogs& scripted() {
    static sq::ScriptedDialogs dialogs;
    return dialogs;
}

// The "Print" key with Yes to the point table and a PDF file for the printer.
void printReport(const std::string& path) {
    scripted().messageAnswers = {sq::MsgResult::Yes};
    scripted().printerAnswers = {sq::PrinterChoice::pdfFile(path)};
    scripted().records.clear();
    largestRecordWindow().Toolbar1.click("Print");
}

void reportFigures(benchmark::State& state, const std::string& pdf, double rise) {
    const auto [pages, footers] = pagesAndFooters(pdf);
    if (pages <= 0 || pages != footers) state.SkipWithError("page count and footers differ");
    if (scripted().messageTexts() != std::vector<std::string>{"Output Record Data?"})
        state.SkipWithError("a message besides the question");
    state.counters["pages"] = pages;
    state.counters["footers"] = footers;
    state.counters["file_MB"] = static_cast<double>(std::filesystem::file_size(pdf)) / 1e6;
    state.counters["op_peak_rise_MB"] = rise;
    state.counters["process_peak_MB"] = statusMB("VmHWM");
}

// Three rounds of one report each, interleaved with the other benchmarks' rounds (see main), so a
// machine that slows down for a while weighs on all of them alike; "min" is the figure to compare.
void threeRounds(benchmark::internal::Benchmark* b) {
    b->Unit(benchmark::kMillisecond)
        ->Iterations(1)
        ->Repetitions(3)
        ->UseRealTime()
        ->ComputeStatistics(
            "min", [](const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); });
}

void BM_a_PrintDataReport(benchmark::State& state) {
    largestRecordWindow();
    const std::string pdf = benchFolder() + "/report.pdf";
    double rise = 0;
    for (auto _ : state) rise = std::max(rise, peakRiseMB([&] { printReport(pdf); }));
    reportFigures(state, pdf, rise);
}
BENCHMARK(BM_a_PrintDataReport)->Apply(threeRounds);

// Records with the printer's own measures, so the layout is the one the report prints.
class MeasuredRecording : public sq::RecordingSurface {
public:
    explicit MeasuredRecording(sq::PrinterSurface& printer) : m_printer(printer) {}

protected:
    double measureWidth(std::string_view text) override {
        m_printer.setFontSize(FontSize());
        return m_printer.TextWidth(text);
    }
    double measureHeight(std::string_view text) override {
        m_printer.setFontSize(FontSize());
        return m_printer.TextHeight(text);
    }
    double pageWidth() override { return m_printer.ScaleWidth(); }
    double pageHeight() override { return m_printer.ScaleHeight(); }

private:
    sq::PrinterSurface& m_printer;
};

// The recorded calls drawn straight onto a QPainter over a high-resolution PDF printer on A4, in
// twips, with the report's font and pens.
void replay(const std::vector<sq::RecordingSurface::Call>& calls, const std::string& path) {
    using Kind = sq::RecordingSurface::Kind;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(path));
    printer.setPageSize(QPageSize(QPageSize::A4));
    QPainter painter(&printer);
    const double scale = printer.resolution() / 1440.0;
    painter.scale(scale, scale);
    QFont font(QStringLiteral("Liberation Sans"));
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setPixelSize(220);
    painter.setFont(font);
    const double ascent = QFontMetricsF(font, &printer).ascent();
    const QPen textPen(Qt::black);
    for (const auto& c : calls) {
        switch (c.kind) {
            case Kind::Page:
                if (c.page > 1) printer.newPage();
                break;
            case Kind::Text:
                painter.setPen(textPen);
                painter.drawText(QPointF(c.line.x1, c.line.y1 + ascent), QString::fromStdString(c.text));
                break;
            case Kind::Line: {
                const int32_t rgb = c.line.colour.value_or(0);
                const QColor colour(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF);
                if (c.line.form == sq::LineForm::Box) {
                    painter.fillRect(
                        QRectF(QPointF(c.line.x1, c.line.y1), QPointF(c.line.x2, c.line.y2)).normalized(),
                        colour);
                    break;
                }
                const bool dashed = c.line.drawStyle == sq::PageSurface::kDashed;
                painter.setPen(QPen(colour, (dashed ? 1 : c.line.drawWidth) * 2.4,
                                    dashed ? Qt::DashLine : Qt::SolidLine));
                painter.drawLine(QPointF(c.line.x1, c.line.y1), QPointF(c.line.x2, c.line.y2));
                break;
            }
            case Kind::End:
            case Kind::Kill:
                painter.end();
                break;
        }
    }
}

// The page printer calls of the report, recorded once before any benchmark runs and kept, so the
// recording leaves the heap as it found it for every benchmark alike.
const std::vector<sq::RecordingSurface::Call>& recordedCalls() {
    static const std::vector<sq::RecordingSurface::Call> calls = [] {
        sq::DataListFrm& frm = largestRecordWindow();
        sq::PrinterSurface printer;
        MeasuredRecording recording(printer);
        const sq::PrintedRecord record{sq::GridCopy(frm.QVX410Grid), sq::GridCopy(frm.QVX410PointGrid),
                                       sq::GridCopy(frm.GridUserInfo), sq::shared().DeviceModel, true};
        sq::PrintReport(recording, record);
        return recording.calls();
    }();
    return calls;
}

void BM_b_Baseline_ReplayOnQPainter(benchmark::State& state) {
    const auto& calls = recordedCalls();
    const std::string pdf = benchFolder() + "/baseline.pdf";
    for (auto _ : state) replay(calls, pdf);
    const auto [pages, footers] = pagesAndFooters(pdf);
    state.counters["pages"] = pages;
    state.counters["footers"] = footers;
    state.counters["calls"] = static_cast<double>(calls.size());
}
BENCHMARK(BM_b_Baseline_ReplayOnQPainter)->Apply(threeRounds);

void BM_c_PrintDataReport_WithReceivePump(benchmark::State& state) {
    largestRecordWindow();
    const std::string pdf = benchFolder() + "/report_pump.pdf";
    sq::Timer pump([] { sq::Runtime::get().delay(0.1); }, 1);
    double rise = 0;
    for (auto _ : state) {
        pump.setEnabled(true);
        rise = std::max(rise, peakRiseMB([&] { printReport(pdf); }));
        pump.setEnabled(false);
    }
    state.counters["pump_ticks"] = static_cast<double>(pump.tickCount());
    reportFigures(state, pdf, rise);
}
BENCHMARK(BM_c_PrintDataReport_WithReceivePump)->Apply(threeRounds);

}  // namespace

int main(int argc, char** argv) {
    sq::bench::OffscreenRun offscreen;
    QApplication app(argc, argv);
    sq::bench::prepareProgram();
    sq::setDialogService(&scripted());
    sq::bench::startProgramWithoutInstrument("QVX 410");
    largestRecordWindow();
    recordedCalls();
    std::vector<char*> args(argv, argv + argc);
    std::string interleave = "--benchmark_enable_random_interleaving=true";
    args.insert(args.begin() + 1, interleave.data());
    const int result = sq::bench::runBenchmarks(static_cast<int>(args.size()), args.data());
    sq::windows().unloadAll();
    sq::setDialogService(nullptr);
    return result;
}
