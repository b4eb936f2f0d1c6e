#pragma once
// What the two record windows have alike: the record list window DataListFrm (a record downloaded
// from the instrument) and the file list window FileListFrm (a record read back from a data file).
// Each shows its record in three grids inside one container: a summary grid and a point grid side by
// side, the splitter PicSplit between them and the user information below. Both have the toolbar
// Toolbar1, the quantity panel SSpSelectItem that chooses the point column for "Plot" and "Ln", and
// the resolution panel SSpResolution whose buttons run the level distribution.
//
// A window creates its container and grids and hands them over with placeIn; it keeps its own
// resize and splitter rules, its own toolbar keys and what its OK does beyond choosing the quantity.
#include <initializer_list>
#include <string>

#include "platform/ui/common_controls.h"
#include "platform/ui/controls.h"
#include "platform/ui/flex_grid.h"
#include "platform/ui/window.h"
#include "records/quantity_panels.h"
#include "records/record_window_layout.h"
#include "texts/window_texts.h"

namespace sq {

class RecordWindow : public Window {
public:
    ~RecordWindow() override;

    // Event handlers. The toolbar's keys are compared exactly: "Print", "Plot" and "Ln" here, the
    // window's own keys in ownToolbarKey; while Busy no key does anything.
    void Toolbar1_ButtonClick(const std::string& key);
    // OK: the chosen quantity's point column becomes SelectedColumn(); then, after "Ln", the
    // resolution panel shows, else the graph of that column. The quantity panel stays visible.
    virtual void BtnSelectOK_Click();
    void BtnExit_Click();
    void Btn01dB_Click();
    void Btn1dB_Click();
    void PicSplit_MouseDown();
    void PicSplit_MouseMove(double x);
    void PicSplit_MouseUp();
    // The toolbar's "Print": the question, the printer dialog and the printed report of the three
    // grids.
    void PrintCommand();

    ToolBar Toolbar1;
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
    // True while a command of this window runs a save, a report or a level distribution: its
    // toolbar does nothing meanwhile.
    bool Busy = false;

    // The layout last applied (twips), as the splitter drag continues from it.
    [[nodiscard]] const RecordWindowLayout& layout() const { return m_layout; }
    // Runs the resize layout for the window's present size.
    void layoutControls();

    // Puts `texts` into the window in their order: the toolbar's tool tips, captions and grid cells.
    // Stops at the first control that refuses its text.
    void applyTexts(const WindowTexts& texts);

protected:
    // The window's own container and grids, which its layout places and its commands read.
    struct Grids {
        Control& container;
        FlexGrid& summary;
        FlexGrid& points;
        FlexGrid& userInfo;
    };

    // A child of the main window with its toolbar's buttons by key, left to right.
    RecordWindow(std::string name, int16_t* openFlag, const std::string& caption,
                 std::initializer_list<const char*> toolbarKeys);
    // Puts the splitter and the two panels into the container, in front of the grids, places the
    // panels and hides them. Called once by the window's constructor when its grids exist.
    void placeIn(const Grids& grids);

    void Form_Resize() override;
    // The window's own resize rule for its present size, the user information needing
    // `userInfoNeeds` twips for its rows, and its own splitter rule.
    [[nodiscard]] virtual RecordWindowLayout resizeLayout(float userInfoNeeds) const = 0;
    virtual void dragSplitter(RecordWindowLayout& layout, float x) const = 0;
    // Moves the container, the grids and the splitter to layout().
    virtual void applyLayout();

    // A toolbar key of the window's own; any other does nothing.
    virtual void ownToolbarKey(const std::string& key) {}

    // The caption of a shared control, or of the window's own; names it does not know are passed
    // over.
    virtual void applyCaption(const TextAssignment& assignment);
    [[nodiscard]] virtual FlexGrid* gridNamed(const std::string& name) = 0;

private:
    Control* m_container = nullptr;
    FlexGrid* m_summaryGrid = nullptr;
    FlexGrid* m_pointGrid = nullptr;
    FlexGrid* m_userInfoGrid = nullptr;
    RecordWindowLayout m_layout;
};

// Writes `text` into the cell at `row`, `col` by making it the grid's current cell, where it stays.
void setGridCell(FlexGrid& grid, int row, int col, const std::string& text);

// Column set-up the two windows share; the widths are fitted to runs of zeros in the window's font.
// A summary column: centred, as wide as 21 zeros; a column the grid lacks is passed over.
void styleSummaryColumn(FlexGrid& grid, int col);
// The six point columns: centred, the date and time as wide as `dateTimeZeros` zeros, the others
// as wide as 9 zeros, and the level columns (2 to 5) at least as wide as the widest level in the
// language's unit.
void stylePointGrid(FlexGrid& grid, int dateTimeZeros);
// The two user-information columns: the centred label as wide as `labelZeros` zeros, the value
// left-aligned and 24390 twips wide.
void styleUserInfoGrid(FlexGrid& grid, int labelZeros);

}  // namespace sq
