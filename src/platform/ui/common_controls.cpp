#include "platform/ui/common_controls.h"

#include <QAction>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QToolBar>
#include <QTreeWidget>
#include <algorithm>

#include "platform/ui/twips.h"
#include "platform/vb_error.h"

namespace sq {

namespace {
constexpr int kIndexOutOfBounds = 35600;
constexpr int kElementNotFound = 35601;
constexpr int kKeyNotUnique = 35602;

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}
std::string ss(const QString& text) {
    return text.toStdString();
}

// A disabled button's icon: Qt's greyed picture drawn faint. Qt only greys and lightens an icon a
// little, which leaves one drawn in black on white (a list, a page of lines) looking enabled.
constexpr double kDisabledIconOpacity = 0.4;

QPixmap faded(const QPixmap& pixmap) {
    QPixmap out(pixmap.size());
    out.setDevicePixelRatio(pixmap.devicePixelRatio());
    out.fill(Qt::transparent);
    QPainter painter(&out);
    painter.setOpacity(kDisabledIconOpacity);
    painter.drawPixmap(0, 0, pixmap);
    return out;
}

// `icon` with a faint disabled picture at each size it has and at the size the bar draws it.
QIcon withFaintDisabledLook(const QIcon& icon, const QSize& barSize) {
    if (icon.isNull()) return icon;
    QList<QSize> sizes = icon.availableSizes();
    if (!sizes.contains(barSize)) sizes.append(barSize);
    QIcon out;
    for (const QSize& size : sizes) {
        out.addPixmap(icon.pixmap(size, QIcon::Normal), QIcon::Normal);
        out.addPixmap(faded(icon.pixmap(size, QIcon::Disabled)), QIcon::Disabled);
    }
    return out;
}

int buttonsOf(Qt::MouseButtons buttons) {
    int result = 0;
    if (buttons & Qt::LeftButton) result |= kLeftButton;
    if (buttons & Qt::RightButton) result |= kRightButton;
    if (buttons & Qt::MiddleButton) result |= kMiddleButton;
    return result;
}
}  // namespace

// ---------------------------------------------------------------------------------------------
// ToolBar

ToolBar::ToolBar(QWidget* parent) : Control(new QToolBar(parent)) {
    bar()->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    bar()->setMovable(false);
}

QToolBar* ToolBar::bar() const {
    return static_cast<QToolBar*>(widget());
}

int ToolBar::addButton(const std::string& key, const std::string& caption, const QIcon& icon,
                       const std::string& toolTip) {
    QAction* action = bar()->addAction(withFaintDisabledLook(icon, bar()->iconSize()), qs(caption));
    action->setToolTip(qs(toolTip));
    int index = buttonCount() + 1;
    m_buttons.push_back({key, action});
    QObject::connect(action, &QAction::triggered, [this, index] {
        if (widget()->isEnabled()) fire(onButtonClick, index, m_buttons[static_cast<size_t>(index - 1)].key);
    });
    if (QWidget* button = bar()->widgetForAction(action)) button->setAccessibleName(qs(key));
    fitButtons();
    return index;
}

// Buttons without captions show their icons only (no empty text line under them), and the bar takes
// the height its buttons need: a bar lower than that hides buttons behind an overflow arrow.
void ToolBar::fitButtons() {
    const bool anyCaption = std::any_of(m_buttons.begin(), m_buttons.end(),
                                        [](const Button& b) { return !b.action->text().isEmpty(); });
    bar()->setToolButtonStyle(anyCaption ? Qt::ToolButtonTextUnderIcon : Qt::ToolButtonIconOnly);
    const int height = bar()->sizeHint().height();
    if (widget()->height() != height) widget()->resize(widget()->width(), height);
}

// Qt's toolbar keeps the width its buttons were first laid out in when the bar is resized before it
// is shown (a docked bar is), and hides the buttons beyond it behind an overflow arrow: lay them out
// again for every new size.
bool ToolBar::filterEvent(QEvent* event) {
    if (event->type() == QEvent::Resize || event->type() == QEvent::Show)
        if (QLayout* layout = bar()->layout()) layout->invalidate();
    return false;
}

int ToolBar::indexOf(const std::string& key) const {
    for (size_t i = 0; i < m_buttons.size(); ++i)
        if (m_buttons[i].key == key) return static_cast<int>(i) + 1;
    return 0;
}

int ToolBar::checkedIndex(const std::string& key) const {
    int index = indexOf(key);
    if (index == 0) raise(kElementNotFound, "Element not found");
    return index;
}

QAction* ToolBar::action(int index) const {
    if (index < 1 || index > buttonCount()) raise(kIndexOutOfBounds, "Index out of bounds");
    return m_buttons[static_cast<size_t>(index - 1)].action;
}

void ToolBar::setButtonEnabled(int index, bool on) {
    action(index)->setEnabled(on);
}
void ToolBar::setButtonEnabled(const std::string& key, bool on) {
    setButtonEnabled(checkedIndex(key), on);
}
bool ToolBar::buttonEnabled(int index) const {
    return action(index)->isEnabled();
}
void ToolBar::setButtonToolTip(int index, const std::string& text) {
    action(index)->setToolTip(qs(text));
}
std::string ToolBar::buttonToolTip(int index) const {
    return ss(action(index)->toolTip());
}
void ToolBar::setButtonCaption(int index, const std::string& text) {
    action(index)->setText(qs(text));
    fitButtons();
}
std::string ToolBar::buttonCaption(int index) const {
    return ss(action(index)->text());
}
void ToolBar::setButtonIcon(int index, const QIcon& icon) {
    action(index)->setIcon(withFaintDisabledLook(icon, bar()->iconSize()));
    fitButtons();
}
std::string ToolBar::buttonKey(int index) const {
    action(index);
    return m_buttons[static_cast<size_t>(index - 1)].key;
}
QWidget* ToolBar::buttonWidget(int index) const {
    return bar()->widgetForAction(action(index));
}

void ToolBar::click(int index) {
    if (!widget()->isEnabled()) return;
    QAction* a = action(index);
    if (a->isEnabled()) a->trigger();
}

void ToolBar::click(const std::string& key) {
    click(checkedIndex(key));
}

// ---------------------------------------------------------------------------------------------
// TreeView

TreeView::TreeView(QWidget* parent) : Control(new QTreeWidget(parent)) {
    tree()->setHeaderHidden(true);
    tree()->setColumnCount(1);
    QObject::connect(tree(), &QTreeWidget::itemClicked, [this](QTreeWidgetItem* item, int) {
        for (size_t i = 0; i < m_nodes.size(); ++i)
            if (m_nodes[i].item == item) fire(onNodeClick, static_cast<int>(i) + 1);
    });
}

QTreeWidget* TreeView::tree() const {
    return static_cast<QTreeWidget*>(widget());
}

int TreeView::addNode(const std::string& parentKey, const std::string& key, const std::string& text) {
    if (!key.empty() && indexOf(key) != 0) raise(kKeyNotUnique, "Key is not unique in collection");
    QTreeWidgetItem* item = nullptr;
    if (parentKey.empty()) {
        item = new QTreeWidgetItem(tree());
    } else {
        int parent = indexOf(parentKey);
        if (parent == 0) raise(kElementNotFound, "Element not found");
        item = new QTreeWidgetItem(m_nodes[static_cast<size_t>(parent - 1)].item);
    }
    item->setText(0, qs(text));
    m_nodes.push_back({key, parentKey, item});
    return nodeCount();
}

void TreeView::clear() {
    tree()->clear();
    m_nodes.clear();
}

int TreeView::indexOf(const std::string& key) const {
    for (size_t i = 0; i < m_nodes.size(); ++i)
        if (m_nodes[i].key == key) return static_cast<int>(i) + 1;
    return 0;
}

void TreeView::checkIndex(int index) const {
    if (index < 1 || index > nodeCount()) raise(kIndexOutOfBounds, "Index out of bounds");
}

std::string TreeView::nodeText(int index) const {
    checkIndex(index);
    return ss(m_nodes[static_cast<size_t>(index - 1)].item->text(0));
}

void TreeView::setNodeText(int index, const std::string& text) {
    checkIndex(index);
    m_nodes[static_cast<size_t>(index - 1)].item->setText(0, qs(text));
}

std::string TreeView::nodeKey(int index) const {
    checkIndex(index);
    return m_nodes[static_cast<size_t>(index - 1)].key;
}

std::string TreeView::parentKey(int index) const {
    checkIndex(index);
    return m_nodes[static_cast<size_t>(index - 1)].parentKey;
}

void TreeView::setExpanded(int index, bool on) {
    checkIndex(index);
    m_nodes[static_cast<size_t>(index - 1)].item->setExpanded(on);
}

void TreeView::clickNode(int index) {
    checkIndex(index);
    if (!widget()->isEnabled()) return;
    QTreeWidgetItem* item = m_nodes[static_cast<size_t>(index - 1)].item;
    tree()->setCurrentItem(item);
    emit tree()->itemClicked(item, 0);
}

// ---------------------------------------------------------------------------------------------
// ListView

namespace {
constexpr int kKeyRole = Qt::UserRole + 1;
}

ListView::ListView(QWidget* parent) : Control(new QListWidget(parent)) {
    list()->setViewMode(QListView::IconMode);
    list()->setFlow(QListView::LeftToRight);
    list()->setMovement(QListView::Static);
    list()->setResizeMode(QListView::Adjust);
    QObject::connect(list(), &QListWidget::itemClicked,
                     [this](QListWidgetItem* item) { fire(onItemClick, list()->row(item) + 1); });
}

QListWidget* ListView::list() const {
    return static_cast<QListWidget*>(widget());
}

int ListView::addItem(int index, const std::string& key, const std::string& text, const QIcon& icon) {
    if (index < 1 || index > itemCount() + 1) raise(kIndexOutOfBounds, "Index out of bounds");
    auto* item = new QListWidgetItem(icon, qs(text));
    item->setData(kKeyRole, qs(key));
    list()->insertItem(index - 1, item);
    return index;
}

void ListView::clear() {
    list()->clear();
}
int ListView::itemCount() const {
    return list()->count();
}

void ListView::checkIndex(int index) const {
    if (index < 1 || index > itemCount()) raise(kIndexOutOfBounds, "Index out of bounds");
}

std::string ListView::itemText(int index) const {
    checkIndex(index);
    return ss(list()->item(index - 1)->text());
}

std::string ListView::itemKey(int index) const {
    checkIndex(index);
    return ss(list()->item(index - 1)->data(kKeyRole).toString());
}

void ListView::clickItem(int index) {
    checkIndex(index);
    if (!widget()->isEnabled()) return;
    QListWidgetItem* item = list()->item(index - 1);
    list()->setCurrentItem(item);
    emit list()->itemClicked(item);
}

// ---------------------------------------------------------------------------------------------
// StatusBar

StatusBar::StatusBar(QWidget* parent, int panels) : Control(new QWidget(parent)) {
    auto* layout = new QHBoxLayout(widget());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    setPanelCount(panels);
}

void StatusBar::setPanelCount(int count) {
    count = std::max(0, count);
    auto* layout = static_cast<QHBoxLayout*>(widget()->layout());
    while (panelCount() > count) {
        delete m_panels.back();
        m_panels.pop_back();
        m_widths.pop_back();
    }
    while (panelCount() < count) {
        auto* label = new QLabel(widget());
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        layout->addWidget(label);
        m_panels.push_back(label);
        m_widths.push_back(-1);
    }
    relayoutPanels();
}

QLabel* StatusBar::panel(int index) const {
    if (index < 1 || index > panelCount()) raise(kIndexOutOfBounds, "Index out of bounds");
    return m_panels[static_cast<size_t>(index - 1)];
}

void StatusBar::setPanelText(int index, const std::string& text) {
    panel(index)->setText(qs(text));
}
std::string StatusBar::panelText(int index) const {
    return ss(panel(index)->text());
}

void StatusBar::setPanelWidth(int index, double twips) {
    panel(index);
    m_widths[static_cast<size_t>(index - 1)] = std::max(0.0, twips);
    relayoutPanels();
}

double StatusBar::panelWidth(int index) const {
    QLabel* label = panel(index);
    double width = m_widths[static_cast<size_t>(index - 1)];
    return width >= 0 ? width : toTwips(label->width());
}

void StatusBar::relayoutPanels() {
    for (size_t i = 0; i < m_panels.size(); ++i) {
        if (m_widths[i] >= 0) {
            m_panels[i]->setFixedWidth(toPixels(m_widths[i]));
        } else {
            m_panels[i]->setMinimumWidth(0);
            m_panels[i]->setMaximumWidth(QWIDGETSIZE_MAX);
        }
    }
}

// ---------------------------------------------------------------------------------------------
// SplitterBar

SplitterBar::SplitterBar(QWidget* parent, Orientation orientation) : Control(new QWidget(parent)) {
    widget()->setCursor(orientation == Orientation::Vertical ? Qt::SplitHCursor : Qt::SplitVCursor);
    widget()->setAttribute(Qt::WA_StyledBackground, true);
}

void SplitterBar::setBackColor(int red, int green, int blue) {
    widget()->setAutoFillBackground(true);
    QPalette palette = widget()->palette();
    palette.setColor(QPalette::Window, QColor(red, green, blue));
    widget()->setPalette(palette);
}

bool SplitterBar::filterEvent(QEvent* event) {
    auto type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseMove && type != QEvent::MouseButtonRelease)
        return false;
    auto* mouse = static_cast<QMouseEvent*>(event);
    double x = toTwips(static_cast<int>(mouse->position().x()));
    double y = toTwips(static_cast<int>(mouse->position().y()));
    int shift = shiftState(mouse->modifiers());
    switch (type) {
        case QEvent::MouseButtonPress:
            m_dragging = true;
            fire(onMouseDown, buttonsOf(mouse->button()), shift, x, y);
            break;
        case QEvent::MouseMove:
            fire(onMouseMove, buttonsOf(mouse->buttons()), shift, x, y);
            break;
        default:
            m_dragging = false;
            fire(onMouseUp, buttonsOf(mouse->button()), shift, x, y);
            break;
    }
    return true;
}

}  // namespace sq
