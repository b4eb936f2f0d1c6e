#include "reports/print_report.h"

#include "platform/dialogs.h"
#include "platform/event_pacer.h"
#include "platform/numbers.h"
#include "platform/ui/flex_grid.h"
#include "platform/ui/page_surface.h"
#include "platform/ui/printer_surface.h"
#include "platform/ui/window.h"
#include "platform/vb_error.h"
#include "recordmodel/data_file.h"
#include "reports/report_command.h"
#include "shared/state.h"
#include "texts/language_texts.h"

namespace sq {

namespace {

class ReportPrinter {
public:
    ReportPrinter(PageSurface& surface, const PrintedRecord& record, const ReportProgress& progress)
        : m_surface(surface), m_record(record), m_progress(progress) {}

    void run() {
        m_surface.setFontSize(kReportFontSize);
        m_lineHeight = m_surface.TextHeight("H");
        m_cellsTotal = m_record.points.cellCount() + m_record.summary.cellCount();
        m_cellsDone = 0;
        for (int part = 1; part <= 3; ++part) {
            printHeading();
            if (part == 1) {
                printTable(" - HeaderData", m_record.summary);
                if (!m_record.withPointTable) ++part;
            } else if (part == 2) {
                printTable(" - RecordData", m_record.points);
            } else {
                PrintLevelChart(m_surface, m_record.points, m_record.summary, m_y, m_lineHeight,
                                m_progress.afterPoint);
                continue;
            }
            PrintPageFooter(m_surface, m_lineHeight);
            m_surface.NewPage();
        }
        m_surface.EndDoc();
    }

private:
    [[nodiscard]] double lineStep() const { return m_lineHeight + kRowGap; }

    void printAt(double x, double y, std::string_view text) {
        m_surface.setCurrentY(y);
        m_surface.setCurrentX(x);
        m_surface.Print(text);
    }

    // The model line, a line per user-information row (" - label : " followed at once by the
    // values), and one empty line; m_y is left on the line after it.
    void printHeading() {
        m_y = kPageTextTop;
        printAt(kTextLeft, m_y, " - " + m_record.model);
        m_y += lineStep();
        const GridCopy& info = m_record.userInfo;
        for (int r = 0; r < info.rows(); ++r) {
            double x = kTextLeft;
            std::string text;
            for (int c = 0; c < info.cols(); ++c) {
                if (c == 0) {
                    text = " - " + std::string(info.cell(r, 0)) + " : ";
                } else {
                    x += m_surface.TextWidth(text);
                    text = std::string(info.cell(r, c));
                }
                printAt(x, m_y, text);
            }
            m_y += lineStep();
        }
        m_y += lineStep();
    }

    void printTable(std::string_view title, const GridCopy& grid) {
        printAt(kTextLeft, m_y, title);
        m_y += lineStep();
        measureColumns(grid);
        for (int r = 0; r < grid.rows(); ++r) {
            if (m_y + 4 * m_lineHeight > m_surface.ScaleHeight()) {
                PrintPageFooter(m_surface, m_lineHeight);
                m_surface.NewPage();
                m_y = kPageTextTop;
                printRow(grid, 0, true, false);
            }
            printRow(grid, r, r == 0, true);
        }
        if (m_progress.afterTable) m_progress.afterTable(m_cellsDone, m_cellsTotal);
    }

    // Each column as wide as its widest cell followed by "0000", on every page of the table. Each
    // cell's own width is measured here too, once, for placing its text.
    void measureColumns(const GridCopy& grid) {
        m_columnWidths.assign(static_cast<size_t>(std::max(0, grid.cols())), 0);
        m_textWidths.clear();
        m_textWidths.reserve(static_cast<size_t>(grid.cellCount()));
        std::string padded;
        for (int r = 0; r < grid.rows(); ++r) {
            for (int c = 0; c < grid.cols(); ++c) {
                padded.assign(grid.cell(r, c));
                m_textWidths.push_back(m_surface.TextWidth(padded));
                padded += "0000";
                const float w = m_surface.TextWidth(padded);
                int32_t& width = m_columnWidths[static_cast<size_t>(c)];
                if (w > static_cast<float>(width)) width = toInt32(w);
            }
        }
    }

    // One boxed row at m_y: a rule left of every cell and right of it, the rule below, and for the
    // title row the rule above; each text a quarter gap right of its cell's centre.
    void printRow(const GridCopy& grid, int row, bool topRule, bool counted) {
        const double top = m_y - kHalfGap;
        const double bottom = m_y + m_lineHeight + kHalfGap;
        double x = kTextLeft;
        double right = kReportLeft;
        m_surface.Line(kReportLeft, top, kReportLeft, bottom);
        for (int c = 0; c < grid.cols(); ++c) {
            const std::string_view text = grid.cell(row, c);
            const int32_t width = m_columnWidths[static_cast<size_t>(c)];
            const float textWidth = m_textWidths[static_cast<size_t>(row) * static_cast<size_t>(grid.cols()) +
                                                 static_cast<size_t>(c)];
            const int32_t offset = toInt32(kHalfGap + width - textWidth) / 2;
            printAt(x + offset, m_y, text);
            x += width + kColumnGap;
            right = x - kHalfGap;
            m_surface.Line(right, top, right, bottom);
            if (counted) {
                ++m_cellsDone;
                if (m_progress.afterCell) m_progress.afterCell(m_cellsDone, m_cellsTotal);
            }
        }
        if (topRule) m_surface.Line(kReportLeft, top, right, top);
        m_y += lineStep();
        m_surface.Line(kReportLeft, bottom, right, bottom);
    }

    PageSurface& m_surface;
    const PrintedRecord& m_record;
    const ReportProgress& m_progress;
    double m_lineHeight = 0;
    double m_y = 0;
    std::vector<int32_t> m_columnWidths;
    std::vector<float> m_textWidths;  // of every cell of the table being printed, row by row
    int64_t m_cellsTotal = 0;
    int64_t m_cellsDone = 0;
};

}  // namespace

void PrintReport(PageSurface& surface, const PrintedRecord& record, const ReportProgress& progress) {
    ReportPrinter(surface, record, progress).run();
}

void PrintPageFooter(PageSurface& surface, double lineHeight) {
    const std::string text = "P - " + std::to_string(surface.Page());
    surface.setCurrentX(toInt32(surface.ScaleWidth() - surface.TextWidth(text)) / 2);
    surface.setCurrentY(surface.ScaleHeight() - 2 * lineHeight);
    surface.Print(text);
}

void PrintDataReport(PrinterSurface& dialog, Window& window, const FlexGrid& summaryGrid,
                     const FlexGrid& pointGrid, const FlexGrid& userInfoGrid) {
    // The window object stays until the report is done, even if it unloads meanwhile; once it has,
    // the report no longer touches it.
    HandlerScope keepWindow(&window);
    dialog.ShowPrinter();

    const std::string& model = shared().DeviceModel.empty() ? shared().FileModel : shared().DeviceModel;
    const PrintedRecord record{GridCopy(summaryGrid), GridCopy(pointGrid), GridCopy(userInfoGrid), model,
                               shared().PrintRecordData != 0};
    ReportCaption caption(window);
    const std::string completed = texts().TxtCompleted;
    auto showProgress = [&](int64_t done, int64_t total) {
        caption.show(progressCaption(done, total, completed));
    };
    EventPacer pacer;
    ReportProgress progress;
    progress.afterCell = [&](int64_t done, int64_t total) { pacer.tick([&] { showProgress(done, total); }); };
    progress.afterTable = showProgress;
    progress.afterPoint = [&] { pacer.tick(); };
    try {
        PrintReport(dialog, record, progress);
        caption.restore();
    } catch (const VbError& e) {
        dialog.KillDoc();
        caption.restore();
        ShowPrintFailure(e);
    }
}

void ShowPrintFailure(const std::exception& failure) {
    msgBox(texts().TxtReportNotPrinted + "\n" + failure.what(), MsgButtons::OK, MsgIcon::Critical);
}

}  // namespace sq
