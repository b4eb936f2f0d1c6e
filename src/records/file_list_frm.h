#pragma once
// FileListFrm, the window of a record read back from a data file: its summary table, point list
// and user information in three read-only grids, the splitter between the first two, the quantity
// and resolution panels and a toolbar with "Plot", "Ln" and "Print". The main window's Open command
// fills its grids; the graph, the level distribution and the report read them.
#include <string>

#include "platform/ui/common_controls.h"
#include "platform/ui/controls.h"
#include "platform/ui/flex_grid.h"
#include "platform/ui/window.h"
#include "records/file_list_layout.h"
#include "shared/window_names.h"

namespace sq {

class FileListFrm : public Window {
public:
    static constexpr const char* kName = window_name::kFileListFrm;
    FileListFrm();
    ~FileListFrm() override;

    // Event handlers.
    void Toolbar1_ButtonClick(const std::string& key);
    void BtnSelectOK_Click();
    void BtnExit_Click();
    void Btn01dB_Click();
    void Btn1dB_Click();
    void PicSplit_MouseDown();
    void PicSplit_MouseMove(double x);
    void PicSplit_MouseUp();

    ToolBar Toolbar1;
    Panel3D SSPQVX410;
    FlexGrid GridHeader;
    FlexGrid GridRecord;
    FlexGrid FileUserInfoGrid;
    SplitterBar PicSplit;
    Panel3D SSpSelectItem;
    OptionGroup Option1;
    CommandButton BtnSelectOK;
    CommandButton BtnExit;
    Panel3D SSpResolution;
    Frame SSfResolution;
    CommandButton Btn01dB;
    CommandButton Btn1dB;

    int16_t HistogramMode = 0;  // 0: OK draws the graph; 1: OK opens the level distribution
    bool SplitDragging = false;
    // True while a report or a level distribution runs from this window: its toolbar does nothing
    // meanwhile.
    bool Busy = false;

    // The layout last applied (twips), as the splitter drag continues from it.
    [[nodiscard]] const RecordWindowLayout& layout() const { return m_layout; }
    // Runs the resize layout for the window's present size.
    void layoutControls();

protected:
    void Form_Load() override;
    void Form_Unload() override;
    void Form_Resize() override;

private:
    void prepareGrids();
    void applyLayout();
    // OK in "Plot" mode: the time-history graph of the chosen column.
    void showRecordPlot(int column, const std::string& caption);
    // The toolbar's "Print": the question, the printer dialog and the printed report.
    void printReport();
    RecordWindowLayout m_layout;
};

// Puts the window's texts (tool tips, captions, the point grid's titles) into it.
void ApplyFileListFrmTexts(FileListFrm& frm);

}  // namespace sq
