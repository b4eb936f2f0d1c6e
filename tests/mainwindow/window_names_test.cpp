// Every window name the program uses is known by that name in the running program, so that no
// open, find or close by name quietly finds nothing.
#include "shared/window_names.h"

#include <set>
#include <string>

#include "mainwindow/panel_fixture.h"
#include "reports/histogram.h"
#include "reports/plot.h"
#include "settings/device_tree_nodes.h"
#include "settings/window_rules.h"

using namespace sq;
using sqtest::PanelTest;

namespace {

// The names of the window list and those the device tree and the closing rules use.
std::set<std::string> namesInUse() {
    std::set<std::string> names(window_name::kAll.begin(), window_name::kAll.end());
    for (const TreeNodeEntry& node : deviceTreeNodes())
        if (node.window) names.insert(node.window);
    const CloseGroups& language = languageFrmCloseOrder();
    for (const auto* order :
         {&checkFlageOrder(), &checkPanelFlageOrder(), &language.beforePane, &language.afterPane})
        for (const FlagWindow& entry : *order) names.insert(entry.second);
    return names;
}

// The main window and the graph windows, made by their type, carry their name once loaded; a
// window opened by name is made by the registry under that name.
TEST_F(PanelTest, everyWindowNameInUseIsRegisteredAndMakesAWindowOfThatName) {
    startPort = 0;
    Panel& p = start();
    EXPECT_EQ(windows().find(window_name::kPanel), &p);
    EXPECT_EQ(windows().find(window_name::kPlot), &form<Plot>());
    EXPECT_EQ(windows().find(window_name::kHistogram), &form<Histogram>());
    const std::set<std::string> madeByType = {window_name::kPanel, window_name::kPlot,
                                              window_name::kHistogram};
    for (const std::string& name : namesInUse()) {
        if (madeByType.count(name)) continue;
        SCOPED_TRACE(name);
        ASSERT_TRUE(windows().isRegistered(name));
        Window& window = windows().window(name);
        EXPECT_EQ(window.name(), name);
        window.Unload();
    }
}

}  // namespace
