#include "records/file_list_frm.h"

#include "platform/ui/wheel_hook.h"
#include "platform/vb_error.h"
#include "shared/state.h"
#include "texts/language_texts.h"
#include "texts/window_texts.h"

namespace sq {

FileListFrm::FileListFrm()
    : RecordWindow(kName, &flags().FileListFrmOpen, "FileList", {"Plot", "Ln", "Print"}),
      SSPQVX410(surface(), {}, Panel3D::Bevel::None),
      GridHeader(SSPQVX410.widget(), 1, 4, 1, 1),
      GridRecord(SSPQVX410.widget(), 1, 6, 1, 1),
      FileUserInfoGrid(SSPQVX410.widget(), 1, 2, 0, 1) {
    placeIn({SSPQVX410, GridHeader, GridRecord, FileUserInfoGrid});
    SSPQVX410.setVisible(false);
    setMinimumSizeTwips(kFileListMinWidth, kFileListMinHeight);
}

FileListFrm::~FileListFrm() = default;

void FileListFrm::Form_Load() {
    setWindowState(WindowState::Maximized);
    if (SupportedModelKnown()) prepareGrids();
    HookWheel(*this);
}

void FileListFrm::prepareGrids() {
    ApplyFileListFrmTexts(*this);
    SSPQVX410.setVisible(true);
    for (int col = 0; col < 4; ++col) styleSummaryColumn(GridHeader, col);
    styleUserInfoGrid(FileUserInfoGrid, 14);
    skipOnError([&] { FileUserInfoGrid.setRows(0); });
    stylePointGrid(GridRecord, 19);
}

void FileListFrm::Form_Unload() {
    UnhookWheel(*this);
}

// Without a supported model the window keeps only its minimum size.
void FileListFrm::Form_Resize() {
    if (!SupportedModelKnown()) return;
    RecordWindow::Form_Resize();
}

// The panel's foot is the client area's.
RecordWindowLayout FileListFrm::resizeLayout(float userInfoNeeds) const {
    return fileListResizeLayout(static_cast<float>(Width()), static_cast<float>(Height()),
                                static_cast<float>(ScaleHeight()), userInfoNeeds);
}

void FileListFrm::dragSplitter(RecordWindowLayout& layout, float x) const {
    fileListSplitterDrag(layout, x);
}

void FileListFrm::applyLayout() {
    SSPQVX410.setVisible(true);
    RecordWindow::applyLayout();
}

// The window's texts give only the point grid's titles.
FlexGrid* FileListFrm::gridNamed(const std::string& name) {
    return name == "GridRecord" ? &GridRecord : nullptr;
}

void ApplyFileListFrmTexts(FileListFrm& frm) {
    frm.applyTexts(fileListFrmTexts(texts()));
}

}  // namespace sq
