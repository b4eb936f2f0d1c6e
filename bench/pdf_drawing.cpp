// Drawing through the PDF writer as the PDF report does: table pages, one chart page of millions of
// line segments, and cell pages; and, for comparison, the table through Qt's own PDF writer.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QGuiApplication>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "pdf/kdr_pdf.h"
#include "platform/program_folder.h"

namespace {
constexpr int kPages = 1000, kRows = 42, kColumns = 6;

std::string tempPath(const char* name) {
    return (std::filesystem::temp_directory_path() / name).string();
}

std::vector<std::string> cellTexts() {
    std::vector<std::string> texts;
    for (int i = 0; i < kRows * kColumns; ++i) {
        switch (i % 6) {
            case 0:
                texts.push_back(std::to_string(i + 1));
                break;
            case 1:
                texts.push_back("2026/12/10 13:" + std::to_string(10 + i % 50) + ":07");
                break;
            default:
                texts.push_back(std::to_string(60 + i % 40) + "." + std::to_string(i % 10));
                break;
        }
    }
    return texts;
}

sq::kdrPDF* newReport(const std::string& path) {
    auto* pdf = new sq::kdrPDF;
    pdf->PDFLoadAfm(sq::resourceFolder() + "/Fonts");
    pdf->PDFFileName(path);
    pdf->PDFSetUnit(0);
    pdf->PDFFormatPage(int32_t(0));
    pdf->PDFOrientation(1);
    pdf->PDFBeginDoc();
    pdf->PDFSetFont(0, 12, 0);
    return pdf;
}

void BM_ReportTable(benchmark::State& state) {
    auto texts = cellTexts();
    std::string path = tempPath("sq_bench_table.pdf");
    for (auto _ : state) {
        std::unique_ptr<sq::kdrPDF> pdf(newReport(path));
        for (int page = 0; page < kPages; ++page) {
            for (int row = 0; row < kRows; ++row) {
                double top = 60 + row * 17;
                for (int col = 0; col < kColumns; ++col) {
                    const std::string& text = texts[row * kColumns + col];
                    double left = 40 + col * 85;
                    double w = pdf->PDFGetStringWidth(text, "Helvetica", 12);
                    double w2 = pdf->PDFGetStringWidth(text, "Helvetica", 12);
                    double x = left + (85 - w - w2 / 2) / 2, y = top + 12;
                    pdf->PDFTextOut(text, x, y);
                    pdf->PDFDrawLine(left + 85, top, left + 85, top + 17);
                }
                pdf->PDFDrawLine(40, top, 40, top + 17);
                pdf->PDFDrawLine(40, top + 17, 550, top + 17);
            }
            if (page + 1 < kPages) {
                pdf->PDFEndPage();
                pdf->PDFNewPage();
            }
        }
        pdf->PDFEndDoc();
    }
    state.counters["file_MB"] = static_cast<double>(std::filesystem::file_size(path)) / 1e6;
    std::filesystem::remove(path);
}
BENCHMARK(BM_ReportTable)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Iterations(3);

long peakRssKb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Run alone (--benchmark_filter=ChartPage) for a meaningful peak memory figure.
void BM_ChartPage(benchmark::State& state) {
    std::string path = tempPath("sq_bench_chart.pdf");
    const int points = 655359;
    const int32_t colours[] = {255, 16776960, 16711680, 65280};  // the four level series
    uint64_t content = 0;
    for (auto _ : state) {
        std::unique_ptr<sq::kdrPDF> pdf(newReport(path));
        for (int series = 0; series < 4; ++series) {
            for (int i = 0; i < points; ++i) {
                pdf->PDFSetLineColor(colours[series]);
                double x1 = 40 + 500.0 * i / points, x2 = 40 + 500.0 * (i + 1) / points;
                int64_t step = int64_t(i) * 7919 + series * 13;
                double y1 = 300 + step % 400, y2 = 300 + (step + 7919) % 400;
                pdf->PDFDrawLine(x1, y1, x2, y2);
            }
        }
        content = pdf->pageContentSize();
        pdf->PDFEndDoc();
    }
    state.counters["content_MB"] = static_cast<double>(content) / 1e6;
    state.counters["peak_RSS_MB"] = static_cast<double>(peakRssKb()) / 1e3;
    std::filesystem::remove(path);
}
BENCHMARK(BM_ChartPage)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime()->Iterations(1);

void BM_CellPages(benchmark::State& state) {
    auto texts = cellTexts();
    std::string path = tempPath("sq_bench_cells.pdf");
    for (auto _ : state) {
        std::unique_ptr<sq::kdrPDF> pdf(newReport(path));
        pdf->PDFSetBorder(1);
        for (int page = 0; page < kPages; ++page) {
            for (int row = 0; row < 50; ++row) {
                for (int col = 0; col < kColumns; ++col) {
                    pdf->PDFSetBorder(1);
                    pdf->PDFCell(texts[(row * kColumns + col) % texts.size()], 40 + col * 85, 40 + row * 15,
                                 85, 15, "");
                }
            }
            if (page + 1 < kPages) {
                pdf->PDFEndPage();
                pdf->PDFNewPage();
            }
        }
        pdf->PDFEndDoc();
    }
    std::filesystem::remove(path);
}
BENCHMARK(BM_CellPages)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime()->Iterations(1);

// The same table through QPdfWriter and QPainter::drawText (set-up excluded), for comparison only.
void BM_ReportTableQt(benchmark::State& state) {
    auto texts = cellTexts();
    std::string path = tempPath("sq_bench_table_qt.pdf");
    for (auto _ : state) {
        state.PauseTiming();
        QPdfWriter writer(QString::fromStdString(path));
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setResolution(72);
        QPainter painter(&writer);
        QFont font("Helvetica");
        font.setPixelSize(12);
        painter.setFont(font);
        QFontMetricsF metrics(font);
        state.ResumeTiming();
        for (int page = 0; page < kPages; ++page) {
            for (int row = 0; row < kRows; ++row) {
                double top = 60 + row * 17;
                for (int col = 0; col < kColumns; ++col) {
                    QString text = QString::fromStdString(texts[row * kColumns + col]);
                    double left = 40 + col * 85;
                    double w = metrics.horizontalAdvance(text);
                    double w2 = metrics.horizontalAdvance(text);
                    painter.drawText(QPointF(left + (85 - w - w2 / 2) / 2, top + 12), text);
                    painter.drawLine(QPointF(left + 85, top), QPointF(left + 85, top + 17));
                }
                painter.drawLine(QPointF(40, top), QPointF(40, top + 17));
                painter.drawLine(QPointF(40, top + 17), QPointF(550, top + 17));
            }
            if (page + 1 < kPages) writer.newPage();
        }
        painter.end();
    }
    std::filesystem::remove(path);
}
BENCHMARK(BM_ReportTableQt)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Iterations(1);
}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
