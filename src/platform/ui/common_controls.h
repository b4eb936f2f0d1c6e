#pragma once
// The common controls: toolbar, tree, list view, status bar, and the splitter bars. Positions and
// indexes are 1-based as the classic controls count them.
#include <QIcon>
#include <string>
#include <vector>

#include "platform/ui/controls.h"

class QToolBar;
class QAction;
class QTreeWidget;
class QTreeWidgetItem;
class QListWidget;
class QLabel;

namespace sq {

// Toolbar whose buttons are addressed by 1-based position or by key. A click on an enabled button of
// an enabled toolbar runs onButtonClick(index, key); a disabled toolbar ignores clicks. The bar is as
// high as its buttons need, so every button stands in its row whatever its state; a button's
// accessible name is its key.
class ToolBar : public Control {
public:
    explicit ToolBar(QWidget* parent);
    // Appends a button; returns its index.
    int addButton(const std::string& key, const std::string& caption = {}, const QIcon& icon = {},
                  const std::string& toolTip = {});
    [[nodiscard]] int buttonCount() const { return static_cast<int>(m_buttons.size()); }
    // 1-based index of the button with `key`, 0 when there is none.
    [[nodiscard]] int indexOf(const std::string& key) const;
    // Each raises VbError(35600) for an index out of range and VbError(35601) for an unknown key.
    void setButtonEnabled(int index, bool on);
    void setButtonEnabled(const std::string& key, bool on);
    [[nodiscard]] bool buttonEnabled(int index) const;
    void setButtonToolTip(int index, const std::string& text);
    [[nodiscard]] std::string buttonToolTip(int index) const;
    void setButtonCaption(int index, const std::string& text);
    [[nodiscard]] std::string buttonCaption(int index) const;
    void setButtonIcon(int index, const QIcon& icon);
    [[nodiscard]] std::string buttonKey(int index) const;
    // The widget that draws button `index` (for accessibility and tests).
    [[nodiscard]] QWidget* buttonWidget(int index) const;
    // A user's click on button `index` (tests); ignored when the toolbar or the button is disabled.
    void click(int index);
    void click(const std::string& key);

    std::function<void(int index, const std::string& key)> onButtonClick;

protected:
    bool filterEvent(QEvent* event) override;

private:
    QToolBar* bar() const;
    QAction* action(int index) const;
    int checkedIndex(const std::string& key) const;
    void fitButtons();
    struct Button {
        std::string key;
        QAction* action;
    };
    std::vector<Button> m_buttons;
};

// Tree with keyed nodes. Nodes are counted 1.. in the order they were added; a child names its parent
// by key. A duplicate key raises VbError(35602) and an unknown parent key VbError(35601), adding nothing.
class TreeView : public Control {
public:
    explicit TreeView(QWidget* parent);
    // Adds a node under `parentKey` (empty: a root); returns its index.
    int addNode(const std::string& parentKey, const std::string& key, const std::string& text);
    void clear();
    [[nodiscard]] int nodeCount() const { return static_cast<int>(m_nodes.size()); }
    // 1-based index of the node with `key`, 0 when there is none.
    [[nodiscard]] int indexOf(const std::string& key) const;
    // Raise VbError(35600) for an index out of range.
    [[nodiscard]] std::string nodeText(int index) const;
    void setNodeText(int index, const std::string& text);
    [[nodiscard]] std::string nodeKey(int index) const;
    [[nodiscard]] std::string parentKey(int index) const;
    void setExpanded(int index, bool on);
    // A user's click on node `index` (tests).
    void clickNode(int index);

    std::function<void(int index)> onNodeClick;

private:
    QTreeWidget* tree() const;
    void checkIndex(int index) const;
    struct Node {
        std::string key;
        std::string parentKey;
        QTreeWidgetItem* item;
    };
    std::vector<Node> m_nodes;
};

// List view of icons with texts; items are 1-based and usually inserted at position 1 (in front).
class ListView : public Control {
public:
    explicit ListView(QWidget* parent);
    // Inserts an item at 1-based `index` (1..count+1; raises VbError(35600) otherwise); returns it.
    int addItem(int index, const std::string& key, const std::string& text, const QIcon& icon = {});
    void clear();
    [[nodiscard]] int itemCount() const;
    // Raise VbError(35600) for an index out of range.
    [[nodiscard]] std::string itemText(int index) const;
    [[nodiscard]] std::string itemKey(int index) const;
    // A user's click on item `index` (tests).
    void clickItem(int index);

    std::function<void(int index)> onItemClick;

private:
    QListWidget* list() const;
    void checkIndex(int index) const;
};

// Status bar with panels numbered 1..n.
class StatusBar : public Control {
public:
    explicit StatusBar(QWidget* parent, int panels = 1);
    void setPanelCount(int count);
    [[nodiscard]] int panelCount() const { return static_cast<int>(m_panels.size()); }
    // Raise VbError(35600) for a panel out of range.
    void setPanelText(int panel, const std::string& text);
    [[nodiscard]] std::string panelText(int panel) const;
    void setPanelWidth(int panel, double twips);
    [[nodiscard]] double panelWidth(int panel) const;

private:
    QLabel* panel(int index) const;
    void relayoutPanels();
    std::vector<QLabel*> m_panels;
    std::vector<double> m_widths;
};

// A bar dragged with the mouse (a picture box used as a splitter). It reports the classic mouse
// events with the pointer's position in twips relative to the bar; the window moves the bar and
// keeps it between its own bounds (see clampSplit).
class SplitterBar : public Control {
public:
    enum class Orientation { Vertical, Horizontal };  // a vertical bar is dragged sideways
    SplitterBar(QWidget* parent, Orientation orientation);
    void setBackColor(int red, int green, int blue);
    // True from a mouse press on the bar to its release. The owner's press and release handlers set
    // it too, so that calling them directly drags as the mouse would.
    [[nodiscard]] bool dragging() const { return m_dragging; }
    void setDragging(bool dragging) { m_dragging = dragging; }

    std::function<void(int button, int shift, double x, double y)> onMouseDown;
    std::function<void(int button, int shift, double x, double y)> onMouseMove;
    std::function<void(int button, int shift, double x, double y)> onMouseUp;

protected:
    bool filterEvent(QEvent* event) override;

private:
    bool m_dragging = false;
};

}  // namespace sq
