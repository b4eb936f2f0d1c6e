// The user-information grid of both record windows at their default size on a real desktop: its
// five rows show whole, none under the horizontal scroll bar and without a vertical one, also
// after the user has edited the last row.
#include <QScrollBar>
#include <QTableView>

#include "desktop/desktop_fixture.h"
#include "platform/text_file.h"
#include "records/data_list_frm.h"
#include "records/file_list_frm.h"
#include "records/record_expectations.h"

using namespace sq;
using sqtest::DesktopTest;

namespace {

::testing::AssertionResult showsEveryRowWhole(const FlexGrid& grid) {
    QApplication::processEvents();
    const auto& view = *static_cast<const QTableView*>(grid.widget());
    if (grid.Rows() != 5) return ::testing::AssertionFailure() << grid.Rows() << " rows";
    if (view.verticalScrollBar()->isVisible())
        return ::testing::AssertionFailure() << "a vertical scroll bar shows";
    for (int row = 0; row < grid.Rows(); ++row) {
        const int top = view.rowViewportPosition(row);
        const int bottom = top + view.rowHeight(row);
        if (top < 0 || bottom > view.viewport()->height())
            return ::testing::AssertionFailure() << "\"" << grid.TextMatrix(row, 0) << "\" shows from " << top
                                                 << " to " << bottom << " of " << view.viewport()->height();
    }
    return ::testing::AssertionSuccess();
}

TEST_F(DesktopTest, theUserInformationGridShowsItsFiveRowsWholeInBothRecordWindows) {
    startOnDesktop();
    ASSERT_TRUE(waitForSupportedModel());
    download(sqtest::recordOf(40));
    DataListFrm& list = form<DataListFrm>();
    ASSERT_EQ(list.windowState(), WindowState::Maximized);
    EXPECT_TRUE(showsEveryRowWhole(list.GridUserInfo)) << "record list window";

    list.GridUserInfo.doubleClickCell(4, 1);
    ASSERT_TRUE(list.EditGrid);
    list.EditGrid->type("Noise at the press, second shift\r");
    EXPECT_EQ(list.GridUserInfo.TextMatrix(4, 1), "Noise at the press, second shift");
    EXPECT_TRUE(showsEveryRowWhole(list.GridUserInfo)) << "after editing Observations";

    const std::string path = sqtest::makeTempDir("userinfo") + "/record.qvx";
    dialogs->fileAnswers.push_back(path);
    list.Toolbar1.click("save");
    ASSERT_TRUE(fileExists(path));
    dialogs->fileAnswers.push_back(path);
    panel->Toolbar1.click("Open");
    auto* file = dynamic_cast<FileListFrm*>(windows().find(FileListFrm::kName));
    ASSERT_NE(file, nullptr);
    ASSERT_EQ(file->windowState(), WindowState::Maximized);
    EXPECT_TRUE(showsEveryRowWhole(file->FileUserInfoGrid)) << "file list window";
}

}  // namespace
