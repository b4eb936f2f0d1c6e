#include "records/file_list_frm.h"

#include <QWidget>

#include "platform/ui/wheel_hook.h"
#include "platform/vb_error.h"
#include "records/data_list_frm.h"
#include "records/level_distribution_run.h"
#include "records/quantity_panels.h"
#include "reports/record_plot.h"
#include "shared/state.h"
#include "texts/language_texts.h"
#include "texts/window_texts.h"

namespace sq {

namespace {

const char* const kToolbarKeys[] = {"Plot", "Ln", "Print"};

void setGridCell(FlexGrid& grid, int row, int col, const std::string& text) {
    grid.setRow(row);
    grid.setCol(col);
    grid.setText(text);
}

}  // namespace

FileListFrm::FileListFrm()
    : Window(kName, WindowKind::MdiChild, &flags().FileListFrmOpen),
      Toolbar1(surface()),
      SSPQVX410(surface(), {}, Panel3D::Bevel::None),
      GridHeader(SSPQVX410.widget(), 1, 4, 1, 1),
      GridRecord(SSPQVX410.widget(), 1, 6, 1, 1),
      FileUserInfoGrid(SSPQVX410.widget(), 1, 2, 0, 1),
      PicSplit(SSPQVX410.widget(), SplitterBar::Orientation::Vertical),
      SSpSelectItem(SSPQVX410.widget()),
      BtnSelectOK(SSpSelectItem.widget(), "OK"),
      BtnExit(SSpSelectItem.widget(), "Exit"),
      SSpResolution(SSPQVX410.widget()),
      SSfResolution(SSpResolution.widget(), "Resolution"),
      Btn01dB(SSfResolution.widget(), "0.1 dB"),
      Btn1dB(SSfResolution.widget(), "1 dB") {
    setCaption("FileList");
    Toolbar1.setAlign(Align::Top);
    for (const char* key : kToolbarKeys) Toolbar1.addButton(key, key);
    Toolbar1.onButtonClick = [this](int, const std::string& key) { Toolbar1_ButtonClick(key); };

    PicSplit.setBackColor(224, 224, 224);
    PicSplit.onMouseDown = [this](int, int, double, double) { PicSplit_MouseDown(); };
    PicSplit.onMouseMove = [this](int, int, double x, double) { PicSplit_MouseMove(x); };
    PicSplit.onMouseUp = [this](int, int, double, double) { PicSplit_MouseUp(); };

    SSpSelectItem.Move(120, 120, 2295, 1575);
    BuildQuantityPanel(SSpSelectItem, Option1, BtnSelectOK, BtnExit);
    BtnSelectOK.onClick = [this] { BtnSelectOK_Click(); };
    BtnExit.onClick = [this] { BtnExit_Click(); };

    PlaceResolutionPanel(SSpResolution, SSfResolution);
    Btn01dB.Move(240, 300, 1095, 375);
    Btn1dB.Move(240, 780, 1095, 375);
    Btn01dB.onClick = [this] { Btn01dB_Click(); };
    Btn1dB.onClick = [this] { Btn1dB_Click(); };

    // The two panels float over the grids: they hide what lies under them.
    for (Panel3D* panel : {&SSpSelectItem, &SSpResolution}) panel->widget()->setAutoFillBackground(true);
    SSPQVX410.setVisible(false);
    SSpSelectItem.setVisible(false);
    SSpResolution.setVisible(false);
    setMinimumSizeTwips(kFileListMinWidth, kFileListMinHeight);
    for (FlexGrid* grid : {&GridHeader, &GridRecord, &FileUserInfoGrid}) registerWheelGrid(*grid);
}

FileListFrm::~FileListFrm() = default;

void FileListFrm::Form_Load() {
    setWindowState(WindowState::Maximized);
    SSpResolution.setVisible(false);
    SSpSelectItem.setVisible(false);
    if (SupportedModelKnown()) prepareGrids();
    HookWheel(*this);
}

void FileListFrm::prepareGrids() {
    ApplyFileListFrmTexts(*this);
    SSPQVX410.setVisible(true);
    for (int col = 0; col < 4; ++col) {
        skipOnError([&] { GridHeader.setColAlignment(col, FlexAlign::CenterCenter); });
        skipOnError([&] { GridHeader.setColWidthFromText(col, std::string(21, '0')); });
    }
    skipOnError([&] { FileUserInfoGrid.setColAlignment(0, FlexAlign::CenterCenter); });
    skipOnError([&] { FileUserInfoGrid.setColWidthFromText(0, std::string(14, '0')); });
    skipOnError([&] { FileUserInfoGrid.setColAlignment(1, FlexAlign::LeftCenter); });
    skipOnError([&] { FileUserInfoGrid.setColWidth(1, 24390); });
    skipOnError([&] { FileUserInfoGrid.setRows(0); });
    for (int col = 0; col < 6; ++col) {
        skipOnError([&] { GridRecord.setColAlignment(col, FlexAlign::CenterCenter); });
        const std::string zeros(col == 1 ? 19 : 9, '0');
        skipOnError([&] { GridRecord.setColWidthFromText(col, zeros); });
        // The level columns also take the widest level a record holds in the language's unit.
        if (col >= 2)
            skipOnError([&] { GridRecord.fitColWidthToText(col, widestLevelCell(texts().TxtDBUnit)); });
    }
}

void FileListFrm::Form_Unload() {
    UnhookWheel(*this);
}

void FileListFrm::Form_Resize() {
    if (windowState() == WindowState::Minimized) return;
    if (!SupportedModelKnown()) return;
    layoutControls();
}

void FileListFrm::layoutControls() {
    m_layout = fileListResizeLayout(static_cast<float>(Width()), static_cast<float>(Height()),
                                    static_cast<float>(ScaleHeight()),
                                    static_cast<float>(FileUserInfoGrid.HeightForRows(kUserInfoRows)));
    applyLayout();
}

void FileListFrm::applyLayout() {
    const RecordWindowLayout& l = m_layout;
    SSPQVX410.setVisible(true);
    SSPQVX410.Move(l.container);
    FileUserInfoGrid.Move(l.userInfo);
    PicSplit.Move(l.splitter);
    GridRecord.Move(l.pointGrid);
    GridHeader.Move(l.summaryGrid);
}

void FileListFrm::PicSplit_MouseDown() {
    SplitDragging = true;
}

void FileListFrm::PicSplit_MouseUp() {
    SplitDragging = false;
}

void FileListFrm::PicSplit_MouseMove(double x) {
    if (!SplitDragging) return;
    fileListSplitterDrag(m_layout, static_cast<float>(x));
    PicSplit.setLeft(m_layout.splitter.left);
    GridRecord.setLeft(m_layout.pointGrid.left);
    GridRecord.setWidth(m_layout.pointGrid.width);
    GridHeader.setWidth(m_layout.summaryGrid.width);
}

// The keys are compared exactly.
void FileListFrm::Toolbar1_ButtonClick(const std::string& key) {
    if (Busy) return;
    if (key == "Print") {
        printReport();
        return;
    }
    if (key != "Plot" && key != "Ln") return;
    OpenQuantityPanel(SSpSelectItem, Option1, HistogramMode, key == "Plot" ? 0 : 1);
}

// Sends nothing to the instrument and leaves the quantity panel visible.
void FileListFrm::BtnSelectOK_Click() {
    TakeChosenColumn(Option1);
    if (HistogramMode != 0) {
        ShowInFront(SSpResolution);
        return;
    }
    showRecordPlot(SelectedColumn(), SelectedQuantityCaption(Option1));
}

void FileListFrm::BtnExit_Click() {
    HideQuantityPanels(SSpSelectItem, SSpResolution);
}

void FileListFrm::Btn01dB_Click() {
    RunLevelDistribution(*this, GridRecord, SSpResolution, LevelResolution::TenthDb, &Busy);
}

void FileListFrm::Btn1dB_Click() {
    RunLevelDistribution(*this, GridRecord, SSpResolution, LevelResolution::WholeDb, &Busy);
}

void FileListFrm::showRecordPlot(int column, const std::string& caption) {
    skipOnError([&] { ShowRecordPlot(GridHeader, GridRecord, column, caption); });
}

void ApplyFileListFrmTexts(FileListFrm& frm) {
    const WindowTexts windowTexts = fileListFrmTexts(texts());
    for (const TextAssignment& a : windowTexts.assignments()) {
        try {
            if (a.target == TextTarget::ToolTip) {
                frm.Toolbar1.setButtonToolTip(a.index, a.text);
            } else if (a.target == TextTarget::GridCell && a.control == "GridRecord") {
                setGridCell(frm.GridRecord, a.row, a.col, a.text);
            } else if (a.target == TextTarget::Caption) {
                if (a.control == "Option1") frm.Option1[a.index].setCaption(a.text);
                if (a.control == "BtnSelectOK") frm.BtnSelectOK.setCaption(a.text);
                if (a.control == "BtnExit") frm.BtnExit.setCaption(a.text);
                if (a.control == "SSfResolution") frm.SSfResolution.setCaption(a.text);
            }
        } catch (const VbError&) {
            return;  // the procedure stops at a control that refuses its text
        }
    }
}

}  // namespace sq
