#include "records/record_window.h"

#include <QWidget>
#include <stdexcept>

#include "platform/ui/wheel_hook.h"
#include "platform/vb_error.h"
#include "records/level_distribution_run.h"
#include "reports/record_plot.h"
#include "texts/language_texts.h"

namespace sq {

RecordWindow::RecordWindow(std::string name, int16_t* openFlag, const std::string& caption,
                           std::initializer_list<const char*> toolbarKeys)
    : Window(std::move(name), WindowKind::MdiChild, openFlag),
      Toolbar1(surface()),
      PicSplit(surface(), SplitterBar::Orientation::Vertical),
      SSpSelectItem(surface()),
      BtnSelectOK(SSpSelectItem.widget(), "OK"),
      BtnExit(SSpSelectItem.widget(), "Exit"),
      SSpResolution(surface()),
      SSfResolution(SSpResolution.widget(), "Resolution"),
      Btn01dB(SSfResolution.widget(), "0.1 dB"),
      Btn1dB(SSfResolution.widget(), "1 dB") {
    setCaption(caption);
    Toolbar1.setAlign(Align::Top);
    for (const char* key : toolbarKeys) Toolbar1.addButton(key, key);
    Toolbar1.onButtonClick = [this](int, const std::string& key) { Toolbar1_ButtonClick(key); };

    PicSplit.setBackColor(224, 224, 224);
    PicSplit.onMouseDown = [this](int, int, double, double) { PicSplit_MouseDown(); };
    PicSplit.onMouseMove = [this](int, int, double x, double) { PicSplit_MouseMove(x); };
    PicSplit.onMouseUp = [this](int, int, double, double) { PicSplit_MouseUp(); };

    BuildQuantityPanel(SSpSelectItem, Option1, BtnSelectOK, BtnExit);
    BtnSelectOK.onClick = [this] { BtnSelectOK_Click(); };
    BtnExit.onClick = [this] { BtnExit_Click(); };

    Btn01dB.Move(240, 300, 1095, 375);
    Btn1dB.Move(240, 780, 1095, 375);
    Btn01dB.onClick = [this] { Btn01dB_Click(); };
    Btn1dB.onClick = [this] { Btn1dB_Click(); };
}

RecordWindow::~RecordWindow() = default;

// Taken into the container after the grids, the splitter and the panels stand in front of them, as
// controls made after them would.
void RecordWindow::placeIn(const Grids& grids) {
    m_container = &grids.container;
    m_summaryGrid = &grids.summary;
    m_pointGrid = &grids.points;
    m_userInfoGrid = &grids.userInfo;
    for (QWidget* widget : {PicSplit.widget(), SSpSelectItem.widget(), SSpResolution.widget()})
        widget->setParent(grids.container.widget());
    PicSplit.setVisible(true);
    SSpSelectItem.Move(kQuantityPanelRect);
    PlaceResolutionPanel(SSpResolution, SSfResolution);
    HideQuantityPanels(SSpSelectItem, SSpResolution);
    for (FlexGrid* grid : {m_summaryGrid, m_pointGrid, m_userInfoGrid}) registerWheelGrid(*grid);
}

void RecordWindow::Form_Resize() {
    if (windowState() == WindowState::Minimized) return;
    layoutControls();
}

void RecordWindow::layoutControls() {
    m_layout = resizeLayout(static_cast<float>(m_userInfoGrid->HeightForRows(kUserInfoRows)));
    applyLayout();
}

void RecordWindow::applyLayout() {
    const RecordWindowLayout& l = m_layout;
    m_container->Move(l.container);
    m_userInfoGrid->Move(l.userInfo);
    PicSplit.Move(l.splitter);
    m_pointGrid->Move(l.pointGrid);
    m_summaryGrid->Move(l.summaryGrid);
}

void RecordWindow::PicSplit_MouseDown() {
    PicSplit.setDragging(true);
}

void RecordWindow::PicSplit_MouseUp() {
    PicSplit.setDragging(false);
}

void RecordWindow::PicSplit_MouseMove(double x) {
    if (!PicSplit.dragging()) return;
    dragSplitter(m_layout, static_cast<float>(x));
    PicSplit.setLeft(m_layout.splitter.left);
    m_pointGrid->setLeft(m_layout.pointGrid.left);
    m_pointGrid->setWidth(m_layout.pointGrid.width);
    m_summaryGrid->setWidth(m_layout.summaryGrid.width);
}

void RecordWindow::Toolbar1_ButtonClick(const std::string& key) {
    if (Busy) return;
    if (key == "Print") {
        PrintCommand();
    } else if (key == "Plot" || key == "Ln") {
        OpenQuantityPanel(SSpSelectItem, Option1, HistogramMode, key == "Plot" ? 0 : 1);
    } else {
        ownToolbarKey(key);
    }
}

void RecordWindow::BtnSelectOK_Click() {
    TakeChosenColumn(Option1);
    if (HistogramMode != 0) {
        ShowInFront(SSpResolution);
        return;
    }
    const std::string caption = SelectedQuantityCaption(Option1);
    skipOnError([&] { ShowRecordPlot(*m_summaryGrid, *m_pointGrid, SelectedColumn(), caption); });
}

void RecordWindow::BtnExit_Click() {
    HideQuantityPanels(SSpSelectItem, SSpResolution);
}

void RecordWindow::Btn01dB_Click() {
    RunLevelDistribution(*this, *m_pointGrid, SSpResolution, LevelResolution::TenthDb, &Busy);
}

void RecordWindow::Btn1dB_Click() {
    RunLevelDistribution(*this, *m_pointGrid, SSpResolution, LevelResolution::WholeDb, &Busy);
}

void RecordWindow::applyTexts(const WindowTexts& texts) {
    for (const TextAssignment& a : texts.assignments()) {
        try {
            if (a.target == TextTarget::Caption) {
                applyCaption(a);
            } else if (a.target == TextTarget::ToolTip) {
                Toolbar1.setButtonToolTip(a.index, a.text);
            } else if (a.target == TextTarget::GridCell) {
                if (FlexGrid* grid = gridNamed(a.control)) setGridCell(*grid, a.row, a.col, a.text);
            }
        } catch (const VbError&) {
            return;  // the procedure stops at a control that refuses its text
        } catch (const std::out_of_range&) {
            return;
        }
    }
}

void RecordWindow::applyCaption(const TextAssignment& a) {
    if (a.control == "Option1") {
        Option1[a.index].setCaption(a.text);
    } else if (a.control == "BtnSelectOK") {
        BtnSelectOK.setCaption(a.text);
    } else if (a.control == "BtnExit") {
        BtnExit.setCaption(a.text);
    } else if (a.control == "SSfResolution") {
        SSfResolution.setCaption(a.text);
    }
}

void setGridCell(FlexGrid& grid, int row, int col, const std::string& text) {
    grid.setRow(row);
    grid.setCol(col);
    grid.setText(text);
}

void styleSummaryColumn(FlexGrid& grid, int col) {
    skipOnError([&] { grid.setColAlignment(col, FlexAlign::CenterCenter); });
    skipOnError([&] { grid.setColWidthFromText(col, std::string(21, '0')); });
}

void stylePointGrid(FlexGrid& grid, int dateTimeZeros) {
    for (int col = 0; col < 6; ++col) {
        grid.setColAlignment(col, FlexAlign::CenterCenter);
        grid.setColWidthFromText(col, std::string(col == 1 ? dateTimeZeros : 9, '0'));
        if (col >= 2) grid.fitColWidthToText(col, widestLevelCell(texts().TxtDBUnit));
    }
}

void styleUserInfoGrid(FlexGrid& grid, int labelZeros) {
    grid.setColAlignment(0, FlexAlign::CenterCenter);
    grid.setColWidthFromText(0, std::string(labelZeros, '0'));
    grid.setColAlignment(1, FlexAlign::LeftCenter);
    grid.setColWidth(1, 24390);
}

}  // namespace sq
