#pragma once
// FileListFrm, the window of a record read back from a data file: its summary table, point list
// and user information in three read-only grids, the splitter between the first two, the quantity
// and resolution panels and a toolbar with "Plot", "Ln" and "Print". The main window's Open command
// fills its grids; the graph, the level distribution and the report read them.
#include <string>

#include "platform/ui/controls.h"
#include "platform/ui/flex_grid.h"
#include "records/file_list_layout.h"
#include "records/record_window.h"
#include "shared/window_names.h"

namespace sq {

class FileListFrm : public RecordWindow {
public:
    static constexpr const char* kName = window_name::kFileListFrm;
    FileListFrm();
    ~FileListFrm() override;

    Panel3D SSPQVX410;
    FlexGrid GridHeader;
    FlexGrid GridRecord;
    FlexGrid FileUserInfoGrid;

protected:
    void Form_Load() override;
    void Form_Unload() override;
    void Form_Resize() override;
    [[nodiscard]] RecordWindowLayout resizeLayout(float userInfoNeeds) const override;
    void dragSplitter(RecordWindowLayout& layout, float x) const override;
    void applyLayout() override;
    [[nodiscard]] FlexGrid* gridNamed(const std::string& name) override;

private:
    void prepareGrids();
};

// Puts the window's texts (tool tips, captions, the point grid's titles) into it.
void ApplyFileListFrmTexts(FileListFrm& frm);

}  // namespace sq
