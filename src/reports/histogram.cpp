#include "reports/histogram.h"

#include <QIcon>
#include <QPainter>
#include <QPixmap>
#include <QWidget>
#include <optional>

#include "platform/numbers.h"
#include "platform/ui/printer_surface.h"
#include "platform/vb_error.h"
#include "recordmodel/level_distribution.h"
#include "reports/print_report.h"
#include "shared/state.h"
#include "texts/language_texts.h"
#include "texts/window_texts.h"

namespace sq {

namespace {

constexpr int kLnColumns = 11;

// The toolbar's two images, drawn here: a panel dropping down (Limit) and a printer (Print).
QIcon limitIcon() {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setPen(QColor(60, 60, 60));
    p.setBrush(QColor(250, 250, 250));
    p.drawRect(1, 1, 13, 8);
    p.setBrush(QColor(40, 40, 40));
    const QPoint arrow[] = {{4, 11}, {12, 11}, {8, 15}};
    p.drawPolygon(arrow, 3);
    return QIcon(pixmap);
}

QIcon printIcon() {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setPen(QColor(60, 60, 60));
    p.setBrush(Qt::white);
    p.drawRect(4, 1, 7, 5);
    p.setBrush(QColor(170, 170, 170));
    p.drawRect(1, 6, 13, 6);
    p.setBrush(Qt::white);
    p.drawRect(4, 10, 7, 5);
    return QIcon(pixmap);
}

}  // namespace

HistogramLayout histogramResizeLayout(double windowWidth, double windowHeight) {
    HistogramLayout l;
    l.windowWidth = windowWidth < kHistogramMinWidth ? kHistogramMinWidth : windowWidth;
    l.windowHeight = windowHeight < kHistogramMinHeight ? kHistogramMinHeight : windowHeight;
    const double w = l.windowWidth - 260;
    const double h = l.windowHeight - 600;
    l.graphTop = 480;
    l.graphWidth = w;
    l.graphHeight = h - 3250;
    l.gridTop = h - 2800;
    l.gridWidth = w;
    l.gridHeight = 2800;
    l.columnWidth = roundHalfEven(l.windowWidth / 11 - 35);
    return l;
}

Histogram::Histogram()
    : Window(kName, WindowKind::TopLevel, &flags().HistogramOpen),
      Toolbar1(surface()),
      HistGraph(surface()),
      GridLn(surface(), 1, kLnColumns, 1, 1),
      Picture1(surface(), {}, Panel3D::Bevel::Raised),
      Combo1(Picture1.widget()),
      txtDescription(Picture1.widget()) {
    setCaption("Histogram");
    Toolbar1.setAlign(Align::Top);
    Toolbar1.addButton("Limit", {}, limitIcon());
    Toolbar1.addButton("Print", {}, printIcon());
    Toolbar1.onButtonClick = [this](int, const std::string& key) { Toolbar1_ButtonClick(key); };

    HistGraph.Move(0, 480, 9600, 3840);
    HistGraph.Axes(1).setCaption("dB");
    HistGraph.Axes(1).setLabelFormat("*.1");
    HistGraph.Axes(2).setCaption("Frequency (Times)");
    HistGraph.Cursors().Add();
    HistGraph.Cursors().Add();
    GridLn.Move(0, 4320, 9495, 2775);

    // The mode panel pops up over the graph's corner: it hides what lies under it.
    Picture1.Move(0, 480, 1455, 615);
    Picture1.widget()->setAutoFillBackground(true);
    Combo1.Move(120, 120, 1215, 315);
    // A mode chosen again runs again: "Reset" resets once more, any choice hides the panel.
    Combo1.onClick = [this] { Combo1_Click(); };
    Combo1.onChooseAgain = [this] { Combo1_Click(); };
    txtDescription.Move(0, 2520, 2415, 855);

    // The resize rule keeps the minimum size itself (a minimum set on the widget would hold its
    // client area, not its outer size, to these figures).
    Move(0, 0, kHistogramMinWidth, kHistogramMinHeight);
}

Histogram::~Histogram() = default;

void Histogram::Form_Load() {
    if (Window* panel = windows().find(window_name::kPanel))
        skipOnError([&] { Move(panel->Left(), panel->Top(), Width(), Height()); });
    ApplyHistogramTexts(*this);
    const LanguageTexts& t = texts();
    for (const std::string* entry : {&t.TxtNormal, &t.TxtPanXY, &t.TxtPanX, &t.TxtPanY, &t.TxtZoomXY,
                                     &t.TxtZoomX, &t.TxtZoomY, &t.TxtReset})
        Combo1.AddItem(*entry);
    Combo1.setListIndex(kNormal);
    for (int col = 0; col < kLnColumns; ++col) {
        skipOnError([&] { GridLn.setTextMatrix(0, col, col == 0 ? "Ln" : " " + std::to_string(col - 1)); });
        skipOnError([&] { GridLn.setColWidth(col, textWidthTwips(col == 0 ? "ABCDEFAA1" : "ABCDEFAA")); });
        skipOnError([&] { GridLn.setColAlignment(col, FlexAlign::CenterCenter); });
    }
    Form_Resize();
}

void Histogram::Form_Resize() {
    if (windowState() == WindowState::Minimized) return;
    const HistogramLayout l = histogramResizeLayout(Width(), Height());
    if (l.windowWidth != Width() || l.windowHeight != Height())
        Move(Left(), Top(), l.windowWidth, l.windowHeight);
    skipOnError([&] { HistGraph.Move(0, l.graphTop, l.graphWidth, l.graphHeight); });
    skipOnError([&] { GridLn.Move(0, l.gridTop, l.gridWidth, l.gridHeight); });
    for (int col = 0; col < kLnColumns; ++col) skipOnError([&] { GridLn.setColWidth(col, l.columnWidth); });
}

void Histogram::Combo1_Click() {
    static const int kTrackModes[kModeCount] = {
        GraphControl::kTrackNormal, GraphControl::kTrackPanXY,  GraphControl::kTrackPanX,
        GraphControl::kTrackPanY,   GraphControl::kTrackZoomXY, GraphControl::kTrackZoomX,
        GraphControl::kTrackZoomY,  GraphControl::kTrackNormal,
    };
    const int mode = Combo1.ListIndex();
    if (mode == kNormal) txtDescription.setText(texts().TxtNormalMode);
    if (mode == kReset) {
        const LevelDistributionResults& r = levelDistributionResults();
        skipOnError([&] { HistGraph.Axes(1).SetMinMax(r.HistMinBin, r.HistMaxBin + 1); });
        skipOnError([&] { HistGraph.Axes(2).SetMinMax(0, r.HistYMax); });
    }
    if (mode >= 0 && mode < kModeCount) skipOnError([&] { HistGraph.setTrackMode(kTrackModes[mode]); });
    for (int cursor : {1, 2}) skipOnError([&] { HistGraph.Cursors(cursor).setCursorVisible(false); });
    Picture1.setVisible(false);
}

void Histogram::Toolbar1_ButtonClick(const std::string& key) {
    if (key == "Limit") {
        Picture1.setVisible(!Picture1.Visible());
        if (Picture1.Visible()) Picture1.ZOrder();
    } else if (key == "Print") {
        printWindow();
    }
}

// The window prints without its toolbar and mode panel; the toolbar comes back however the print
// ends, the panel stays hidden. A failed print says why once the toolbar is back.
void Histogram::printWindow() {
    Toolbar1.setVisible(false);
    Picture1.setVisible(false);
    GridLn.flush();  // rows added since the last event pass are drawn too
    std::optional<VbError> failure;
    try {
        PrinterSurface printer;
        printer.ShowPrinter();
        printer.PrintForm(*this);
    } catch (const VbError& e) {
        if (e.number() != kCancelError) failure = e;  // Cancel ends the print silently
    }
    Toolbar1.setVisible(true);
    if (failure) ShowPrintFailure(*failure);
}

void ApplyHistogramTexts(Histogram& frm) {
    const WindowTexts windowTexts = histogramTexts(texts());
    for (const TextAssignment& a : windowTexts.assignments()) {
        try {
            if (a.target == TextTarget::ToolTip) frm.Toolbar1.setButtonToolTip(a.index, a.text);
            if (a.target == TextTarget::AxisCaption) frm.HistGraph.Axes(a.index).setCaption(a.text);
        } catch (const VbError&) {
            return;
        }
    }
}

}  // namespace sq
