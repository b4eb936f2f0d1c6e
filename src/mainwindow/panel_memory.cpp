// The main window's memory pane: showing and hiding it, the record click that starts a download,
// and the two splitter bars.
#include "link/requests.h"
#include "mainwindow/layout.h"
#include "mainwindow/panel.h"
#include "platform/dialogs.h"
#include "platform/numbers.h"
#include "platform/vb_error.h"
#include "records/data_list_frm.h"
#include "shared/download_state.h"
#include "shared/record_state.h"
#include "shared/state.h"
#include "texts/language_texts.h"

namespace sq {

namespace {

// "2022/03/30  14:05:09" gives "20220330--140509".
std::string recordTimeAsFileName(const std::string& cell) {
    std::string out;
    for (char c : cell) {
        if (c == '/' || c == ':') continue;
        out += c == ' ' ? '-' : c;
    }
    return out;
}

}  // namespace

void Panel::ShowMemoryInfoPanel(bool visible) {
    MemoryPaneInput in;
    in.treeBarHeight = static_cast<int>(TreeViewBar.Height());
    in.treeTop = static_cast<int>(TreeView1.Top());
    in.paneWidth = static_cast<int>(SSPMemory.Width());
    in.paneHeight = static_cast<int>(SSPMemory.Height());
    in.memSplitHeight = static_cast<int>(PicMemSplit.Height());
    in.closeButtonWidth = static_cast<int>(BtnMemClose.Width());
    const MemoryPaneLayout l = layoutMemoryPane(in, visible);
    SSPMemory.setVisible(visible);
    PicMemSplit.setVisible(visible);
    flags().MemoryPanelVisible = flagOf(visible);
    if (!visible) {
        TreeView1.setHeight(l.treeHeight);
        PicMemSplit.setTop(l.memSplitTop);
        return;
    }
    MemoryListGrid.setRows(1);
    MemoryListGrid.setRow(0);
    MemoryListGrid.setCol(0);
    for (int col = 0; col < 3; ++col) {
        MemoryListGrid.setCol(col);
        MemoryListGrid.setColAlignment(col, FlexAlign::CenterCenter);
        MemoryListGrid.setColWidth(col, l.columnWidths[col]);
    }
    ApplyMemoryViewTexts();
    TreeView1.setHeight(l.treeHeight);
    LblTitle.setWidth(l.titleWidth);
    PicMemSplit.setTop(l.memSplitTop);
    SSPMemory.setTop(l.paneTop);
    SSPMemory.setHeight(l.paneHeight);
    MemoryListGrid.setTop(l.gridTop);
    MemoryListGrid.setHeight(l.gridHeight);
}

void Panel::BtnMemClose_Click() {
    skipOnError([&] { ShowMemoryInfoPanel(false); });
}

void Panel::MemoryListGrid_Click() {
    // The header row lists no record: a click on it starts nothing. The grid answers a title click
    // by selecting the column, so such a click is told by its selection (or seen at the header).
    const FlexGrid& grid = MemoryListGrid;
    const bool titleClick = m_titleClickSeen || (grid.Col() == grid.ColSel() && grid.RowSel() != grid.Row());
    m_titleClickSeen = false;
    if (titleClick || grid.Row() < grid.FixedRows()) return;
    if (flags().MemoryErasing == kTrue) {
        msgBox(texts().TxtMemoryErasing, MsgButtons::OK, MsgIcon::Critical);
        return;
    }
    if (flags().DataListFrmOpen == kTrue) skipOnError([] { windows().unload(DataListFrm::kName); });
    DisablePollTimers();
    skipOnError([] { DataListFrm::ClearQvx410Grid(); });
    const int row = MemoryListGrid.Row();
    double recordNumber = 0;
    skipOnError([&] {
        MemoryListGrid.setCol(2);
        recordNumber = leadingNumber(MemoryListGrid.TextMatrix(row, 2));
    });
    skipOnError([&] {
        MemoryListGrid.setCol(1);
        shared().SelectedRecordTime = recordTimeAsFileName(MemoryListGrid.TextMatrix(row, 1));
    });
    EndRecordDownload();
    downloadState().phase = DownloadPhase::AwaitingHeader;
    skipOnError([&] { ReadRecordHeader(recordNumber); });
    skipOnError([] { form<DataListFrm>().Toolbar1.setEnabled(false); });
    skipOnError([] { form<DataListFrm>().Show(); });
    skipOnError([&] { MemoryListGrid.SetFocus(); });
}

void Panel::PicMemSplit_MouseDown() {
    PicMemSplit.setDragging(true);
}
void Panel::PicMemSplit_MouseUp() {
    PicMemSplit.setDragging(false);
}

void Panel::PicMemSplit_MouseMove(double y) {
    if (!PicMemSplit.dragging()) return;
    skipOnError([&] {
        const MemSplitDrag d =
            dragMemSplit(static_cast<int>(PicMemSplit.Top()), static_cast<int>(y), static_cast<int>(Height()),
                         static_cast<int>(TreeViewBar.Height()));
        PicMemSplit.setTop(d.memSplitTop);
        TreeView1.setHeight(d.treeHeight);
        SSPMemory.setTop(d.paneTop);
        SSPMemory.setHeight(d.paneHeight);
        MemoryListGrid.setHeight(d.gridHeight);
    });
}

void Panel::PicPanelSplit_MouseDown() {
    PicPanelSplit.setDragging(true);
}
void Panel::PicPanelSplit_MouseUp() {
    PicPanelSplit.setDragging(false);
}

void Panel::PicPanelSplit_MouseMove(double x) {
    if (!PicPanelSplit.dragging()) return;
    skipOnError([&] {
        TreeViewBar.setWidth(dragPanelSplit(static_cast<int>(PicPanelSplit.Left()), static_cast<int>(x),
                                            static_cast<int>(Width())));
    });
    Form_Resize();
    if (flags().DataListFrmOpen == kTrue) {
        if (Window* list = windows().find(DataListFrm::kName)) list->surface()->update();
    }
}

}  // namespace sq
