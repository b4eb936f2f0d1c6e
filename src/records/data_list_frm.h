#pragma once
// DataListFrm, the record list window of one downloaded record: the summary grid with its selectable
// item rows, the point grid, the user-information grid, the splitter between the first two, the
// quantity and resolution panels and the toolbar. The reply decoder fills it during a download.
#include <memory>
#include <string>
#include <vector>

#include "platform/dialogs.h"
#include "platform/ui/controls.h"
#include "platform/ui/flex_grid.h"
#include "records/data_list_layout.h"
#include "records/record_window.h"
#include "shared/window_names.h"

class QScrollArea;
class QWidget;

namespace sq {

class DataListFrm : public RecordWindow {
public:
    static constexpr const char* kName = window_name::kDataListFrm;
    DataListFrm();
    ~DataListFrm() override;

    // Public operations.
    void GridInfo();
    void InitalQVX410PointGrid();
    void InitialUserInfoValues();
    void InitialQVX410Grid();
    // Resets the current record's summary texts; needs no window.
    static void ClearQvx410Grid();
    void UpdateQVX410Grid();

    // Event handlers.
    void ItemBtn_Click();
    void AllSelBtn_Click();
    void SetBtn_Click();
    void LoadItemSelection();
    // OK also asks the instrument for its calibration date and level.
    void BtnSelectOK_Click() override;
    // Grid editing: the user-information editor and Backspace in the summary and point grids.
    void GridUserInfo_DblClick();
    void GridUserInfo_Click();
    void EditGrid_KeyPress(int& keyAscii);
    void EditGrid_LostFocus();
    void QVX410Grid_KeyPress(int& keyAscii);
    void QVX410PointGrid_KeyPress(int& keyAscii);
    // The toolbar's "save": the save dialog, then the data file or the CSV export.
    void SaveCommand();

    Frame mem410frm;
    Label PageLbl;
    CommandButton ItemBtn;
    FlexGrid QVX410Grid;
    FlexGrid QVX410PointGrid;
    FlexGrid GridUserInfo;
    Panel3D ItemSSP;
    std::vector<std::unique_ptr<CheckBox>> Check1;  // elements 0 to 102
    CommandButton SetBtn;
    CommandButton AllSelBtn;

    bool Editing = false;
    // The editor over a user-information cell while one is open, and the cell it edits.
    std::unique_ptr<TextBox> EditGrid;
    int32_t EditCol = 0;
    int32_t EditRow = 0;
    // The save dialog's settings, kept from one save to the next.
    FileDialogRequest Cmd;

protected:
    void Form_Load() override;
    void Form_Unload() override;
    void ownToolbarKey(const std::string& key) override;
    [[nodiscard]] RecordWindowLayout resizeLayout(float userInfoNeeds) const override;
    void dragSplitter(RecordWindowLayout& layout, float x) const override;
    void applyLayout() override;
    void applyCaption(const TextAssignment& assignment) override;
    [[nodiscard]] FlexGrid* gridNamed(const std::string& name) override;

private:
    void buildItemPanel();
    void layoutItemBoxes();
    void placeItemPanel();
    [[nodiscard]] float panelRoom() const;
    void prepareGrids();
    void wireEditing();
    void commitEdit();
    void restoreSummaryColumns(int from);
    float m_pointGridNeeds = 0;  // twips: the point grid's width for all its columns, once they are sized
    bool m_summaryStyled = false;  // the download has set up the summary columns
    ItemPanelLayout m_itemPanel;
    QScrollArea* m_itemScroll = nullptr;  // inside ItemSSP, holding the boxes
    QWidget* m_itemBoxes = nullptr;
    std::unique_ptr<TextBox> m_retiredEditor;  // a committed editor whose widget is deleted later
};

// Puts the window's texts (captions, tool tips, item captions, grid titles and labels) into it.
void ApplyDataListFrmTexts(DataListFrm& frm);

}  // namespace sq
