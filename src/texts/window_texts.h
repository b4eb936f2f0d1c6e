#pragma once
// What each window's text procedure puts into its window, as data. A window applies the
// assignments in order, each into one property of one control; an assignment that fails (a
// missing control or element) ends the application there, keeping the ones before it. Texts are
// read from the table when the function runs, so a window shows the language loaded at that time.
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "texts/language_texts.h"

namespace sq {

enum class TextTarget {
    Caption,      // window, button, label, frame, option button, check box, 3-D panel/frame/button
    ToolTip,      // toolbar button by position, 1 = first
    TreeNode,     // tree node by position in the node collection, 1 = first
    GridCell,     // set the grid's Row, then Col, then Text: the cell stays current
    ListItems,    // combo list: cleared, then filled item by item (position = value)
    AxisCaption,  // graph axis by position in the axis collection
};

struct TextAssignment {
    TextTarget target = TextTarget::Caption;
    std::string control;  // the window's own name for its caption; an array's name for its elements
    int index = -1;       // array element, button, node or axis position; -1 when none
    int row = -1;
    int col = -1;
    std::string text;
    std::vector<std::string> items;
};

class WindowTexts {
public:
    explicit WindowTexts(std::string window) : m_window(std::move(window)) {}

    [[nodiscard]] const std::string& window() const { return m_window; }
    [[nodiscard]] const std::vector<TextAssignment>& assignments() const { return m_assignments; }

    // Lookups of the last assignment to a target; nullopt when the procedure does not set it.
    [[nodiscard]] std::optional<std::string> windowCaption() const { return caption(m_window); }
    [[nodiscard]] std::optional<std::string> caption(std::string_view control, int index = -1) const;
    [[nodiscard]] std::optional<std::string> toolTip(std::string_view toolbar, int button) const;
    [[nodiscard]] std::optional<std::string> treeNode(std::string_view tree, int node) const;
    [[nodiscard]] std::optional<std::string> cell(std::string_view grid, int row, int col) const;
    [[nodiscard]] std::optional<std::vector<std::string>> items(std::string_view control) const;
    [[nodiscard]] std::optional<std::string> axisCaption(std::string_view graph, int axis) const;

    void add(TextAssignment assignment) { m_assignments.push_back(std::move(assignment)); }

private:
    [[nodiscard]] const TextAssignment* find(TextTarget target, std::string_view control, int index,
                                             int row = -1, int col = -1) const;

    std::string m_window;
    std::vector<TextAssignment> m_assignments;
};

// One function per window or window area; each reads the entries it needs from `t`.
[[nodiscard]] WindowTexts clearMemoryFrmTexts(const LanguageTexts& t = texts());
[[nodiscard]] WindowTexts comPortSetFrmTexts(const LanguageTexts& t = texts());
[[nodiscard]] WindowTexts sonoquantFrmTexts(const LanguageTexts& t = texts());
[[nodiscard]] WindowTexts helpFrmTexts(const LanguageTexts& t = texts());
[[nodiscard]] WindowTexts languageFrmTexts(const LanguageTexts& t = texts());
[[nodiscard]] WindowTexts ledAlarmFrmTexts(const LanguageTexts& t = texts());
// The memory pane of Panel: its title, labels and the memory list's header row.
[[nodiscard]] WindowTexts memoryViewTexts(const LanguageTexts& t = texts());
// OneSetForm: its caption is set by the window from its mode, not here.
[[nodiscard]] WindowTexts oneSetFormTexts(const LanguageTexts& t = texts());
// Tool tips of Panel's Toolbar1, buttons 1 to 10.
[[nodiscard]] WindowTexts toolbarTexts(const LanguageTexts& t = texts());
// Texts of Panel's TreeView1 nodes 1 to 20 (existing nodes only: nothing is added).
[[nodiscard]] WindowTexts deviceTreeTexts(const LanguageTexts& t = texts());
[[nodiscard]] WindowTexts rtcFrmTexts(const LanguageTexts& t = texts());
[[nodiscard]] WindowTexts screenFrmTexts(const LanguageTexts& t = texts());
[[nodiscard]] WindowTexts setting410PanelFrmTexts(const LanguageTexts& t = texts());
[[nodiscard]] WindowTexts timerFrmTexts(const LanguageTexts& t = texts());
[[nodiscard]] WindowTexts welcomSetFrmTexts(const LanguageTexts& t = texts());
[[nodiscard]] WindowTexts dataListFrmTexts(const LanguageTexts& t = texts());
// Applied only when a supported model is known; otherwise the window keeps its designed texts.
[[nodiscard]] WindowTexts fileListFrmTexts(const LanguageTexts& t = texts());
[[nodiscard]] WindowTexts histogramTexts(const LanguageTexts& t = texts());
[[nodiscard]] WindowTexts plotTexts(const LanguageTexts& t = texts());
// LunchTimeFrm: its caption is not set here.
[[nodiscard]] WindowTexts lunchTimeFrmTexts(const LanguageTexts& t = texts());

// The 20 device-tree node texts in node order, as the tree's builder also gives them.
[[nodiscard]] std::vector<std::string> deviceTreeNodeTexts(const LanguageTexts& t = texts());
// The 103 summary-item captions in check-box order (element 0 first). The record window finds the
// summary rows of ticked items by these same texts.
[[nodiscard]] std::vector<std::string> summaryItemCaptions(const LanguageTexts& t = texts());

}  // namespace sq
