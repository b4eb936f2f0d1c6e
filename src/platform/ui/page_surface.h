#pragma once
// The page printer a printed report draws on: a text position, text and lines in twips (1440 per
// inch) from the top-left corner of the printable area, y downwards, and a job of numbered pages.
//
// The job begins with the first output (a Print or a Line). NewPage numbers the next page at once but
// starts it only with the next output, so EndDoc right after a NewPage adds no blank page. Page counts
// from 1 in every job. A printer that cannot be opened, or a page that cannot be started, raises
// VbError at the output that needed it.
//
// The printer behind it (a real one, or a recording with fixed metrics for tests) supplies the
// measures and the drawing; this class keeps the state every printer shares.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace sq {

// An RGB colour as red + 256 x green + 65536 x blue.
[[nodiscard]] constexpr int32_t rgbColour(int red, int green, int blue) {
    return red + 256 * green + 65536 * blue;
}

enum class LineForm { Line, Box };

class PageSurface {
public:
    static constexpr int kSolid = 0;
    static constexpr int kDashed = 1;

    PageSurface() = default;
    virtual ~PageSurface() = default;
    PageSurface(const PageSurface&) = delete;
    PageSurface& operator=(const PageSurface&) = delete;

    // The size of later text, in points.
    void setFontSize(double points);
    [[nodiscard]] double FontSize() const { return m_fontSize; }
    // A text's size in the current font, twips.
    [[nodiscard]] float TextWidth(std::string_view text);
    [[nodiscard]] float TextHeight(std::string_view text);

    // The top-left corner of the next printed text.
    void setCurrentX(double twips) { m_x = twips; }
    void setCurrentY(double twips) { m_y = twips; }
    [[nodiscard]] double CurrentX() const { return m_x; }
    [[nodiscard]] double CurrentY() const { return m_y; }
    // Prints the text in black at the current position, then moves the position to the start of the
    // next line.
    void Print(std::string_view text);

    // The printable size of the page, twips.
    [[nodiscard]] double ScaleWidth();
    [[nodiscard]] double ScaleHeight();

    // A line between the points in the current width and style, black without a colour; the box form
    // is the rectangle with these corners, filled with the colour.
    void Line(double x1, double y1, double x2, double y2, std::optional<int32_t> colour = std::nullopt,
              LineForm form = LineForm::Line);
    // Width of later lines in dots of 1/600 inch, whatever the printer's resolution.
    void setDrawWidth(int dots) { m_drawWidth = dots; }
    [[nodiscard]] int DrawWidth() const { return m_drawWidth; }
    // kSolid or kDashed; dashed lines are drawn 1 dot wide.
    void setDrawStyle(int style) { m_drawStyle = style; }
    [[nodiscard]] int DrawStyle() const { return m_drawStyle; }

    // The number of the page being printed (or of the page NewPage has announced).
    [[nodiscard]] int Page() const { return m_page; }
    void NewPage();
    // Ends the job: what was printed goes to the printer. Nothing happens when no job has begun.
    void EndDoc();
    // Ends the job after an error: the printer discards it where it can, else it ends with the pages
    // printed so far. Nothing happens when no job has begun.
    void KillDoc();

    [[nodiscard]] bool jobOpen() const { return m_jobOpen; }

    // What Line draws, for the printers behind the surface.
    struct LineCall {
        double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
        std::optional<int32_t> colour;
        LineForm form = LineForm::Line;
        int drawWidth = 1;  // dots
        int drawStyle = kSolid;
    };

protected:
    // The printer behind the surface. Sizes are twips in the font of FontSize().
    virtual double measureWidth(std::string_view text) = 0;
    virtual double measureHeight(std::string_view text) = 0;
    virtual double pageWidth() = 0;
    virtual double pageHeight() = 0;
    // Opens the job on its first page; raises VbError when the printer cannot be opened.
    virtual void beginJob() = 0;
    // Starts the next page of the open job; raises VbError when it cannot be started.
    virtual void beginPage() = 0;
    virtual void drawText(double x, double y, std::string_view text) = 0;
    virtual void drawLine(const LineCall& line) = 0;
    virtual void endJob() = 0;
    // Discards the open job; false when the printer cannot (the job is then ended with endJob).
    virtual bool abortJob() = 0;
    // The font size changed (FontSize() holds the new one).
    virtual void fontChanged() {}
    // Height of one line of text in the current font, twips: how far Print moves down.
    virtual double lineHeight() { return measureHeight("H"); }

private:
    // Makes sure the page being printed has been started before output.
    void prepareOutput();
    void resetJob();

    double m_fontSize = 11;
    double m_x = 0;
    double m_y = 0;
    int m_drawWidth = 1;
    int m_drawStyle = kSolid;
    int m_page = 1;
    int m_pagesStarted = 0;
    bool m_jobOpen = false;
};

}  // namespace sq
