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
#include "records/pdf_report_command.h"
#include "records/summary_grid.h"
#include "shared/download_state.h"
#include "shared/record_state.h"
#include "shared/state.h"
#include "texts/language_texts.h"
#include "texts/window_texts.h"

namespace sq {

namespace {

constexpr int kSummaryCreatedRows = 121;

}  // namespace

DataListFrm::DataListFrm()
    : RecordWindow(kName, &flags().DataListFrmOpen, "DataList", {"save", "Print", "PDF", "Plot", "Ln"}),
      mem410frm(surface()),
      PageLbl(mem410frm.widget(), "Page"),
      ItemBtn(mem410frm.widget(), "HeaderItem"),
      QVX410Grid(mem410frm.widget(), kSummaryCreatedRows, kSummaryColumns, 1, 1),
      QVX410PointGrid(mem410frm.widget(), 1, 6, 1, 1),
      GridUserInfo(mem410frm.widget(), kUserInfoRows, 2, 0, 1),
      ItemSSP(mem410frm.widget()),
      SetBtn(ItemSSP.widget(), "Set"),
      AllSelBtn(ItemSSP.widget(), "All") {
    placeIn({mem410frm, QVX410Grid, QVX410PointGrid, GridUserInfo});
    PageLbl.setVisible(false);
    ItemBtn.Move(120, 240, 1455, 915);
    ItemBtn.onClick = [this] { ItemBtn_Click(); };
    QVX410Grid.setLeft(1680);
    GridUserInfo.setLeft(1680);

    buildItemPanel();
    ItemSSP.setVisible(false);
    setMinimumSizeTwips(kDataListMinWidth, kDataListMinHeight);
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
    const TwipsRect& frame = layout().container;
    if (frame.width <= 0) return m_itemPanel.contentWidth;
    return std::min(frame.width, static_cast<float>(ScaleWidth() - frame.left));
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

RecordWindowLayout DataListFrm::resizeLayout(float userInfoNeeds) const {
    return dataListResizeLayout(static_cast<float>(Width()), static_cast<float>(Height()), m_pointGridNeeds,
                                userInfoNeeds);
}

void DataListFrm::dragSplitter(RecordWindowLayout& layout, float x) const {
    dataListSplitterDrag(layout, x);
}

void DataListFrm::applyLayout() {
    RecordWindow::applyLayout();
    SSpSelectItem.Move(quantityPanelRect(panelRoom()));
    placeItemPanel();
}

// The resize layout then gives the point grid the width all its columns need.
void DataListFrm::InitalQVX410PointGrid() {
    stylePointGrid(QVX410PointGrid, 20);
    m_pointGridNeeds = static_cast<float>(QVX410PointGrid.WidthForAllCols());
}

void DataListFrm::InitialUserInfoValues() {
    styleUserInfoGrid(GridUserInfo, 21);
}

void DataListFrm::InitialQVX410Grid() {
    for (int col = 0; col < kSummaryColumns; ++col) styleSummaryColumn(QVX410Grid, col);
    m_summaryStyled = true;
    skipOnError([&] { QVX410Grid.setRows(kSummaryFixedRows); });
}

// Columns from `from` on, brought back after a deletion, look as the download set them up; before
// it they are left as they are.
void DataListFrm::restoreSummaryColumns(int from) {
    if (!m_summaryStyled) return;
    const int last = std::min(QVX410Grid.Cols(), kSummaryColumns);
    for (int col = std::max(from, 0); col < last; ++col) styleSummaryColumn(QVX410Grid, col);
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

// "save" and "PDF".
void DataListFrm::ownToolbarKey(const std::string& key) {
    if (key == "save") {
        SaveCommand();
    } else if (key == "PDF") {
        PdfReportCommand(*this);
    }
}

void DataListFrm::BtnSelectOK_Click() {
    RecordWindow::BtnSelectOK_Click();
    skipOnError([] { ReadCalibrationDate(); });
    skipOnError([] { ReadCalibrationLevel(); });
}

void DataListFrm::applyCaption(const TextAssignment& a) {
    if (a.control == "Check1") {
        Check1.at(a.index)->setCaption(a.text);
    } else if (a.control == "PageLbl") {
        PageLbl.setCaption(a.text);
    } else if (a.control == "ItemBtn") {
        ItemBtn.setCaption(a.text);
    } else if (a.control == "SetBtn") {
        SetBtn.setCaption(a.text);
    } else if (a.control == "AllSelBtn") {
        AllSelBtn.setCaption(a.text);
    } else {
        RecordWindow::applyCaption(a);
    }
}

FlexGrid* DataListFrm::gridNamed(const std::string& name) {
    if (name == "QVX410Grid") return &QVX410Grid;
    if (name == "QVX410PointGrid") return &QVX410PointGrid;
    if (name == "GridUserInfo") return &GridUserInfo;
    return nullptr;
}

void ApplyDataListFrmTexts(DataListFrm& frm) {
    frm.applyTexts(dataListFrmTexts(texts()));
}

}  // namespace sq
