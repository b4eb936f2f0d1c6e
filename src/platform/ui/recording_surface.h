#pragma once
// A page printer that records what is printed instead of printing it: every text with its position,
// every line with its pen, and the job's pages. Its metrics are fixed (by default 100 twips per
// character, 250 twips per line, a page of 11,000 x 16,000 twips), so layouts can be checked exactly;
// a subclass may measure otherwise.
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/page_surface.h"

namespace sq {

class RecordingSurface : public PageSurface {
public:
    struct Metrics {
        double charWidth = 100;  // per character (UTF-8 code point), whatever the font size
        double lineHeight = 250;
        double width = 11000;
        double height = 16000;
    };
    enum class Kind { Text, Line, Page, End, Kill };
    struct Call {
        Kind kind = Kind::Text;
        int page = 1;      // the page the output lands on; for Page, the page begun
        std::string text;  // Text
        LineCall line;     // Line; for Text, x1/y1 hold the position
        double fontSize = 0;
    };

    RecordingSurface() = default;
    explicit RecordingSurface(const Metrics& metrics) : m_metrics(metrics) {}

    [[nodiscard]] const std::vector<Call>& calls() const { return m_calls; }
    void clearCalls() { m_calls.clear(); }
    // The texts in printing order.
    [[nodiscard]] std::vector<std::string> texts() const;
    // The first recorded text equal to `text`, or nullptr.
    [[nodiscard]] const Call* findText(const std::string& text) const;

    // Test seam: starting page `page` raises the printer's page error (0: never).
    void failPage(int page) { m_failPage = page; }
    // Whether a killed job could be discarded (true) or had to be ended (false, as a PDF printer).
    void setCanAbort(bool can) { m_canAbort = can; }

protected:
    double measureWidth(std::string_view text) override;
    double measureHeight(std::string_view text) override;
    double pageWidth() override { return m_metrics.width; }
    double pageHeight() override { return m_metrics.height; }
    void beginJob() override;
    void beginPage() override;
    void drawText(double x, double y, std::string_view text) override;
    void drawLine(const LineCall& line) override;
    void endJob() override;
    bool abortJob() override;

private:
    Metrics m_metrics;
    std::vector<Call> m_calls;
    int m_devicePage = 0;
    int m_failPage = 0;
    bool m_canAbort = false;
};

}  // namespace sq
