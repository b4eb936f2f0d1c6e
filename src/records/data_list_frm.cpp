#include "records/data_list_frm.h"

#include <QFrame>
#include <QScrollArea>
#include <QStyle>
#include <algorithm>

#include "link/requests.h"
#include "platform/ui/twips.h"
#include "platform/ui/wheel_hook.h"
#include "platform/vb_error.h"
#include "records/header_bin.h"
#include "records/level_distribution_run.h"
#include "records/pdf_report_command.h"
#include "records/quantity_panels.h"
#include "records/summary_grid.h"
#include "reports/record_plot.h"
#include "shared/download_state.h"
#include "shared/record_state.h"
#include "shared/state.h"
#include "texts/language_texts.h"
#include "texts/window_texts.h"

namespace sq {

namespace {

constexpr int kSummaryCreatedRows = 121;

const char* const kToolbarKeys[] = {"save", "Print", "PDF", "Plot", "Ln"};

void setGridCell(FlexGrid& grid, int row, int col, const std::string& text) {
    grid.setRow(row);
    grid.setCol(col);
    grid.setText(text);
}

}  // namespace

DataListFrm::DataListFrm()
    : Window(kName, WindowKind::MdiChild, &flags().DataListFrmOpen),
      Toolbar1(surface()),
      mem410frm(surface()),
      PageLbl(mem410frm.widget(), "Page"),
      ItemBtn(mem410frm.widget(), "HeaderItem"),
      QVX410Grid(mem410frm.widget(), kSummaryCreatedRows, kSummaryColumns, 1, 1),
      PicSplit(mem410frm.widget(), SplitterBar::Orientation::Vertical),
      QVX410PointGrid(mem410frm.widget(), 1, 6, 1, 1),
      GridUserInfo(mem410frm.widget(), kUserInfoRows, 2, 0, 1),
      SSpSelectItem(mem410frm.widget()),
      BtnSelectOK(SSpSelectItem.widget(), "OK"),
      BtnExit(SSpSelectItem.widget(), "Exit"),
      SSpResolution(mem410frm.widget()),
      SSfResolution(SSpResolution.widget(), "Resolution"),
      Btn01dB(SSfResolution.widget(), "0.1 dB"),
      Btn1dB(SSfResolution.widget(), "1 dB"),
      ItemSSP(mem410frm.widget()),
      SetBtn(ItemSSP.widget(), "Set"),
      AllSelBtn(ItemSSP.widget(), "All") {
    setCaption("DataList");
    Toolbar1.setAlign(Align::Top);
    for (const char* key : kToolbarKeys) Toolbar1.addButton(key, key);
    Toolbar1.onButtonClick = [this](int, const std::string& key) { Toolbar1_ButtonClick(key); };

    PageLbl.setVisible(false);
    ItemBtn.Move(120, 240, 1455, 915);
    ItemBtn.onClick = [this] { ItemBtn_Click(); };
    QVX410Grid.setLeft(1680);
    GridUserInfo.setLeft(1680);
    PicSplit.setBackColor(224, 224, 224);
    PicSplit.onMouseDown = [this](int, int, double, double) { PicSplit_MouseDown(); };
    PicSplit.onMouseMove = [this](int, int, double x, double) { PicSplit_MouseMove(x); };
    PicSplit.onMouseUp = [this](int, int, double, double) { PicSplit_MouseUp(); };

    SSpSelectItem.Move(quantityPanelRect(kDataListMinWidth));
    BuildQuantityPanel(SSpSelectItem, Option1, BtnSelectOK, BtnExit);
    BtnSelectOK.onClick = [this] { BtnSelectOK_Click(); };
    BtnExit.onClick = [this] { BtnExit_Click(); };

    PlaceResolutionPanel(SSpResolution, SSfResolution);
    Btn01dB.Move(240, 300, 1095, 375);
    Btn1dB.Move(240, 780, 1095, 375);
    Btn01dB.onClick = [this] { Btn01dB_Click(); };
    Btn1dB.onClick = [this] { Btn1dB_Click(); };

    buildItemPanel();
    SSpSelectItem.setVisible(false);
    SSpResolution.setVisible(false);
    ItemSSP.setVisible(false);
    setMinimumSizeTwips(kDataListMinWidth, kDataListMinHeight);
    for (FlexGrid* grid : {&QVX410Grid, &QVX410PointGrid, &GridUserInfo}) registerWheelGrid(*grid);
    wireEditing();
}

DataListFrm::~DataListFrm() = default;

// The boxes stand on a sheet inside the panel that scrolls sideways when the window is narrower
// than the boxes need.
void DataListFrm::buildItemPanel() {
    m_itemScroll = new QScrollArea(ItemSSP.widget());
    m_itemScroll->setFrameShape(QFrame::NoFrame);
    m_itemBoxes = new QWidget;
    m_itemScroll->setWidget(m_itemBoxes);
    for (int n = 0; n < kSummaryItemCount; ++n) {
        auto box = std::make_unique<CheckBox>(m_itemBoxes);
        box->setEnabled(isItemBoxEnabled(n));
        Check1.push_back(std::move(box));
    }
    for (CommandButton* button : {&SetBtn, &AllSelBtn}) {
        button->widget()->setParent(m_itemBoxes);
        button->widget()->show();
    }
    SetBtn.onClick = [this] { SetBtn_Click(); };
    AllSelBtn.onClick = [this] { AllSelBtn_Click(); };
    layoutItemBoxes();
}

// Each column of boxes becomes as wide as its longest caption needs; run again once the captions
// are set.
void DataListFrm::layoutItemBoxes() {
    std::vector<float> widths;
    for (const auto& box : Check1)
        widths.push_back(static_cast<float>(toTwips(box->widget()->sizeHint().width())));
    m_itemPanel = itemPanelLayout(widths);
    for (size_t n = 0; n < Check1.size(); ++n) Check1[n]->Move(m_itemPanel.boxes[n]);
    SetBtn.Move(m_itemPanel.setButton);
    AllSelBtn.Move(m_itemPanel.allButton);
    const int border = 2 * static_cast<QFrame*>(ItemSSP.widget())->frameWidth();
    m_itemBoxes->setFixedSize(toPixels(m_itemPanel.contentWidth) - border,
                              toPixels(m_itemPanel.contentHeight) - border);
    placeItemPanel();
}

// The part of the frame the window shows: the frame is laid out 100 twips narrower than the window's
// outer width, which can be more than its client area.
float DataListFrm::panelRoom() const {
    if (m_layout.container.width <= 0) return m_itemPanel.contentWidth;
    return std::min(m_layout.container.width, static_cast<float>(ScaleWidth() - m_layout.container.left));
}

void DataListFrm::placeItemPanel() {
    if (!m_itemScroll) return;
    const double scrollBar = toTwips(m_itemScroll->style()->pixelMetric(QStyle::PM_ScrollBarExtent));
    ItemSSP.Move(itemPanelRect(m_itemPanel, panelRoom(), static_cast<float>(scrollBar)));
    m_itemScroll->setGeometry(static_cast<QFrame*>(ItemSSP.widget())->contentsRect());
}

void DataListFrm::Form_Load() {
    flags().AllSelectState = kFalse;
    ApplyDataListFrmTexts(*this);
    layoutItemBoxes();
    Editing = false;
    SSpResolution.setVisible(false);
    SSpSelectItem.setVisible(false);
    HistogramMode = 0;
    if (SupportedModelKnown()) prepareGrids();
    HookWheel(*this);
}

void DataListFrm::prepareGrids() {
    setWindowState(WindowState::Maximized);
    QVX410Grid.Clear();
    InitialUserInfoValues();
    InitialQVX410Grid();
    InitalQVX410PointGrid();
    layoutControls();  // the point grid as wide as its columns now need
    UpdateQVX410Grid();
    LoadItemSelection();
    SetBtn_Click();
}

// A download ends with its window: no block request stays outstanding and polling runs again.
void DataListFrm::Form_Unload() {
    UnhookWheel(*this);
    if (downloadState().phase == DownloadPhase::Idle) return;
    EndRecordDownload();
    EnablePollTimers();
}

void DataListFrm::Form_Resize() {
    if (windowState() == WindowState::Minimized) return;
    layoutControls();
}

void DataListFrm::layoutControls() {
    m_layout =
        dataListResizeLayout(static_cast<float>(Width()), static_cast<float>(Height()), m_pointGridNeeds,
                             static_cast<float>(GridUserInfo.HeightForRows(kUserInfoRows)));
    applyLayout();
}

void DataListFrm::applyLayout() {
    const RecordWindowLayout& l = m_layout;
    mem410frm.Move(l.container);
    GridUserInfo.Move(l.userInfo);
    PicSplit.Move(l.splitter);
    QVX410PointGrid.Move(l.pointGrid);
    QVX410Grid.Move(l.summaryGrid);
    SSpSelectItem.Move(quantityPanelRect(panelRoom()));
    placeItemPanel();
}

void DataListFrm::PicSplit_MouseDown() {
    SplitDragging = true;
}

void DataListFrm::PicSplit_MouseUp() {
    SplitDragging = false;
}

void DataListFrm::PicSplit_MouseMove(double x) {
    if (!SplitDragging) return;
    dataListSplitterDrag(m_layout, static_cast<float>(x));
    PicSplit.setLeft(m_layout.splitter.left);
    QVX410PointGrid.setLeft(m_layout.pointGrid.left);
    QVX410PointGrid.setWidth(m_layout.pointGrid.width);
    QVX410Grid.setWidth(m_layout.summaryGrid.width);
}

// The level columns also take the widest level the record holds in the language's unit; the resize
// layout then gives the grid the width all its columns need.
void DataListFrm::InitalQVX410PointGrid() {
    for (int col = 0; col < 6; ++col) {
        QVX410PointGrid.setColAlignment(col, FlexAlign::CenterCenter);
        QVX410PointGrid.setColWidthFromText(col, col == 1 ? std::string(20, '0') : std::string(9, '0'));
        if (col >= 2) QVX410PointGrid.fitColWidthToText(col, widestLevelCell(texts().TxtDBUnit));
    }
    m_pointGridNeeds = static_cast<float>(QVX410PointGrid.WidthForAllCols());
}

void DataListFrm::InitialUserInfoValues() {
    GridUserInfo.setColAlignment(0, FlexAlign::CenterCenter);
    GridUserInfo.setColWidthFromText(0, std::string(21, '0'));
    GridUserInfo.setColAlignment(1, FlexAlign::LeftCenter);
    GridUserInfo.setColWidth(1, 24390);
}

void DataListFrm::InitialQVX410Grid() {
    m_summaryColumns.clear();
    for (int col = 0; col < kSummaryColumns; ++col) {
        skipOnError([&] { QVX410Grid.setColAlignment(col, FlexAlign::CenterCenter); });
        skipOnError([&] { QVX410Grid.setColWidthFromText(col, std::string(21, '0')); });
        skipOnError([&] {
            m_summaryColumns.push_back({QVX410Grid.ColWidth(col), QVX410Grid.ColAlignment(col)});
        });
    }
    skipOnError([&] { QVX410Grid.setRows(kSummaryFixedRows); });
}

// Columns from `from` on, brought back after a deletion, look as the download set them up.
void DataListFrm::restoreSummaryColumns(int from) {
    const int last = std::min(QVX410Grid.Cols(), static_cast<int>(m_summaryColumns.size()));
    for (int col = std::max(from, 0); col < last; ++col) {
        const ColumnLook& look = m_summaryColumns[static_cast<size_t>(col)];
        skipOnError([&] { QVX410Grid.setColWidth(col, look.width); });
        skipOnError([&] { QVX410Grid.setColAlignment(col, look.alignment); });
    }
}

void DataListFrm::ClearQvx410Grid() {
    ResetSummaryTexts(recordSummary(), PageChannel());
}

void DataListFrm::UpdateQVX410Grid() {
    skipOnError([&] { QVX410Grid.setRows(1); });
    for (int n = 1; n < kSummaryFixedRows; ++n) skipOnError([&] { QVX410Grid.AddItem(""); });
    const auto rows = summaryFixedRows(recordSummary(), texts());
    for (int row = 0; row < kSummaryFixedRows; ++row)
        for (int col = 0; col < kSummaryColumns; ++col)
            skipOnError([&] { setGridCell(QVX410Grid, row, col, rows[row][col]); });
}

void DataListFrm::GridInfo() {
    skipOnError([&] { ItemSSP.setVisible(false); });
    skipOnError([&] { QVX410Grid.setRows(kSummaryFixedRows); });
    ItemStates states{};
    for (int n = 0; n < kSavedItemCount; ++n) {
        states[n] = Check1[n]->Value();
        if (states[n] != 1) continue;
        const int item = findSummaryItem(Check1[n]->Caption(), texts());
        if (item >= 0)
            skipOnError([&] { QVX410Grid.AddItem(summaryItemRow(item, recordSummary(), texts())); });
    }
    writeHeaderBin(headerBinPath(), states);
}

void DataListFrm::ItemBtn_Click() {
    ItemSSP.setVisible(true);
    ItemSSP.ZOrder();
}

void DataListFrm::AllSelBtn_Click() {
    const bool tick = flags().AllSelectState == kFalse;
    flags().AllSelectState = flagOf(tick);
    for (int n = 0; n < kSavedItemCount; ++n)
        if (isItemBoxEnabled(n)) Check1[n]->setValue(tick ? 1 : 0);
}

void DataListFrm::SetBtn_Click() {
    const int kept = QVX410Grid.Cols();
    skipOnError([&] { QVX410Grid.setCols(kSummaryColumns); });
    restoreSummaryColumns(kept);
    UpdateQVX410Grid();
    GridInfo();
}

void DataListFrm::LoadItemSelection() {
    const ItemStates states = loadHeaderBin(headerBinPath());
    for (int n = 0; n < kSavedItemCount; ++n) skipOnError([&] { Check1[n]->setValue(states[n]); });
}

// The keys are compared exactly.
void DataListFrm::Toolbar1_ButtonClick(const std::string& key) {
    if (Busy) return;
    if (key == "save") {
        SaveCommand();
        return;
    }
    if (key == "PDF") {
        PdfReportCommand(*this);
        return;
    }
    if (key == "Print") {
        PrintCommand();
        return;
    }
    if (key != "Plot" && key != "Ln") return;
    OpenQuantityPanel(SSpSelectItem, Option1, HistogramMode, key == "Plot" ? 0 : 1);
}

void DataListFrm::BtnSelectOK_Click() {
    TakeChosenColumn(Option1);
    if (HistogramMode != 0) {
        ShowInFront(SSpResolution);
    } else {
        const std::string caption = SelectedQuantityCaption(Option1);
        skipOnError([&] { ShowRecordPlot(QVX410Grid, QVX410PointGrid, SelectedColumn(), caption); });
    }
    skipOnError([] { ReadCalibrationDate(); });
    skipOnError([] { ReadCalibrationLevel(); });
}

void DataListFrm::BtnExit_Click() {
    HideQuantityPanels(SSpSelectItem, SSpResolution);
}

void DataListFrm::Btn01dB_Click() {
    RunLevelDistribution(*this, QVX410PointGrid, SSpResolution, LevelResolution::TenthDb, &Busy);
}

void DataListFrm::Btn1dB_Click() {
    RunLevelDistribution(*this, QVX410PointGrid, SSpResolution, LevelResolution::WholeDb, &Busy);
}

namespace {

void applyCaption(DataListFrm& f, const TextAssignment& a) {
    if (a.control == "Check1") {
        f.Check1.at(a.index)->setCaption(a.text);
    } else if (a.control == "Option1") {
        f.Option1[a.index].setCaption(a.text);
    } else if (a.control == "PageLbl") {
        f.PageLbl.setCaption(a.text);
    } else if (a.control == "ItemBtn") {
        f.ItemBtn.setCaption(a.text);
    } else if (a.control == "SetBtn") {
        f.SetBtn.setCaption(a.text);
    } else if (a.control == "AllSelBtn") {
        f.AllSelBtn.setCaption(a.text);
    } else if (a.control == "BtnSelectOK") {
        f.BtnSelectOK.setCaption(a.text);
    } else if (a.control == "BtnExit") {
        f.BtnExit.setCaption(a.text);
    } else if (a.control == "SSfResolution") {
        f.SSfResolution.setCaption(a.text);
    }
}

FlexGrid* gridNamed(DataListFrm& f, const std::string& name) {
    if (name == "QVX410Grid") return &f.QVX410Grid;
    if (name == "QVX410PointGrid") return &f.QVX410PointGrid;
    if (name == "GridUserInfo") return &f.GridUserInfo;
    return nullptr;
}

}  // namespace

void ApplyDataListFrmTexts(DataListFrm& frm) {
    const WindowTexts windowTexts = dataListFrmTexts(texts());
    for (const TextAssignment& a : windowTexts.assignments()) {
        try {
            if (a.target == TextTarget::Caption) {
                applyCaption(frm, a);
            } else if (a.target == TextTarget::ToolTip) {
                frm.Toolbar1.setButtonToolTip(a.index, a.text);
            } else if (a.target == TextTarget::GridCell) {
                if (FlexGrid* grid = gridNamed(frm, a.control)) setGridCell(*grid, a.row, a.col, a.text);
            }
        } catch (const VbError&) {
            return;  // the procedure stops at a control that refuses its text
        } catch (const std::out_of_range&) {
            return;
        }
    }
}

}  // namespace sq
