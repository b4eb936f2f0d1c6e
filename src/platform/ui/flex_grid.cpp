#include "platform/ui/flex_grid.h"

#include <QAbstractButton>
#include <QAbstractTableModel>
#include <QFontMetricsF>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionHeader>
#include <QStylePainter>
#include <QTableView>
#include <algorithm>
#include <cmath>

#include "platform/ui/twips.h"
#include "platform/vb_error.h"

namespace sq {

namespace {
Qt::Alignment qtAlignment(FlexAlign align, std::string_view text) {
    Qt::Alignment vertical = Qt::AlignVCenter;
    switch (align) {
        case FlexAlign::LeftTop:
            return Qt::AlignLeft | Qt::AlignTop;
        case FlexAlign::LeftCenter:
            return Qt::AlignLeft | vertical;
        case FlexAlign::LeftBottom:
            return Qt::AlignLeft | Qt::AlignBottom;
        case FlexAlign::CenterTop:
            return Qt::AlignHCenter | Qt::AlignTop;
        case FlexAlign::CenterCenter:
            return Qt::AlignHCenter | vertical;
        case FlexAlign::CenterBottom:
            return Qt::AlignHCenter | Qt::AlignBottom;
        case FlexAlign::RightTop:
            return Qt::AlignRight | Qt::AlignTop;
        case FlexAlign::RightCenter:
            return Qt::AlignRight | vertical;
        case FlexAlign::RightBottom:
            return Qt::AlignRight | Qt::AlignBottom;
        case FlexAlign::General:
            break;
    }
    bool number = !text.empty() &&
                  (std::isdigit(static_cast<unsigned char>(text[0])) || text[0] == '-' || text[0] == '.');
    return (number ? Qt::AlignRight : Qt::AlignLeft) | vertical;
}
}  // namespace

// Shows a FlexGrid's store: the first fixed row becomes the column titles and the first fixed column
// the row labels; every other cell is a view cell. Appended rows are announced in batches.
class GridModel : public QAbstractTableModel {
public:
    explicit GridModel(FlexGrid* grid) : m_grid(grid) {}

    std::function<void()> onCornerChanged;  // cell (0, 0) changed

    [[nodiscard]] int titleRows() const { return m_grid->m_fixedRows > 0 ? 1 : 0; }
    [[nodiscard]] int labelCols() const { return m_grid->m_fixedCols > 0 ? 1 : 0; }
    [[nodiscard]] int storeViewRows() const { return std::max(0, m_grid->m_store.rows() - titleRows()); }
    [[nodiscard]] int viewCols() const { return std::max(0, m_grid->m_store.cols() - labelCols()); }

    int rowCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : m_shownRows; }
    int columnCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : m_shownCols; }

    QVariant data(const QModelIndex& index, int role) const override {
        int row = index.row() + titleRows();
        int col = index.column() + labelCols();
        if (row >= m_grid->m_store.rows() || col >= m_grid->m_store.cols()) return {};
        std::string_view text = m_grid->m_store.cell(row, col);
        if (role == Qt::DisplayRole)
            return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
        if (role == Qt::TextAlignmentRole) return QVariant(qtAlignment(m_grid->ColAlignment(col), text));
        if (role == Qt::BackgroundRole && (row < m_grid->m_fixedRows || col < m_grid->m_fixedCols))
            return QVariant(m_grid->widget()->palette().button());
        return {};
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        int row = orientation == Qt::Horizontal ? 0 : section + titleRows();
        int col = orientation == Qt::Horizontal ? section + labelCols() : 0;
        bool present = orientation == Qt::Horizontal ? titleRows() > 0 : labelCols() > 0;
        if (!present || row >= m_grid->m_store.rows() || col >= m_grid->m_store.cols()) return {};
        std::string_view text = m_grid->m_store.cell(row, col);
        if (role == Qt::DisplayRole)
            return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
        if (role == Qt::TextAlignmentRole) return QVariant(qtAlignment(m_grid->ColAlignment(col), text));
        return {};
    }

    // Announces rows appended to the store since the last batch.
    void flushAppends() {
        int target = storeViewRows();
        if (target <= m_shownRows) return;
        beginInsertRows({}, m_shownRows, target - 1);
        m_shownRows = target;
        endInsertRows();
    }

    void scheduleFlush() {
        if (m_flushScheduled) return;
        m_flushScheduled = true;
        QMetaObject::invokeMethod(
            this,
            [this] {
                m_flushScheduled = false;
                if (!m_grid->m_redraw) return;
                flushAppends();
                m_grid->syncSelection();
            },
            Qt::QueuedConnection);
    }

    // Rows of the store removed at viewFirst.. (appends were flushed before); only the shown ones
    // are announced.
    void removeViewRows(int viewFirst, int count) {
        const int last = std::min(viewFirst + count, m_shownRows) - 1;
        if (last < viewFirst) return;
        beginRemoveRows({}, viewFirst, last);
        m_shownRows -= last - viewFirst + 1;
        endRemoveRows();
    }

    void insertViewRow(int viewRow) {
        beginInsertRows({}, viewRow, viewRow);
        ++m_shownRows;
        endInsertRows();
    }

    void truncateViewRows(int rows) {
        if (rows >= m_shownRows) return;
        beginRemoveRows({}, rows, m_shownRows - 1);
        m_shownRows = rows;
        endRemoveRows();
    }

    // Any other change of shape: the view starts over.
    void resetShape() {
        beginResetModel();
        m_shownRows = storeViewRows();
        m_shownCols = viewCols();
        endResetModel();
    }

    void cellChanged(int row, int col) {
        int vr = row - titleRows();
        int vc = col - labelCols();
        if (row == 0 && titleRows() > 0) {
            if (vc >= 0)
                emit headerDataChanged(Qt::Horizontal, vc, vc);
            else if (labelCols() > 0)
                if (onCornerChanged) onCornerChanged();
            return;
        }
        if (col == 0 && labelCols() > 0) {
            if (vr >= 0 && vr < m_shownRows) emit headerDataChanged(Qt::Vertical, vr, vr);
            return;
        }
        if (vr >= 0 && vr < m_shownRows && vc >= 0 && vc < m_shownCols) {
            QModelIndex i = index(vr, vc);
            emit dataChanged(i, i, {Qt::DisplayRole});
        }
    }

    void allChanged() {
        if (onCornerChanged) onCornerChanged();
        if (m_shownRows > 0 && m_shownCols > 0)
            emit dataChanged(index(0, 0), index(m_shownRows - 1, m_shownCols - 1));
        if (m_shownCols > 0) emit headerDataChanged(Qt::Horizontal, 0, m_shownCols - 1);
        if (m_shownRows > 0) emit headerDataChanged(Qt::Vertical, 0, m_shownRows - 1);
    }

    [[nodiscard]] int shownRows() const { return m_shownRows; }

private:
    FlexGrid* m_grid;
    int m_shownRows = 0;
    int m_shownCols = 0;
    bool m_flushScheduled = false;
};

// The title row or the label column. Its sections cannot be resized by the user where their size is
// fixed: a press near a section's edge then selects that section like any other press on it (Qt
// would take it for the edge's resize grip and do nothing). It keeps the keys held at the last
// press, so that a shift-click can extend the selection.
class GridHeader : public QHeaderView {
public:
    GridHeader(Qt::Orientation orientation, QWidget* parent) : QHeaderView(orientation, parent) {}

    [[nodiscard]] bool shiftPressed() const { return m_pressModifiers & Qt::ShiftModifier; }

protected:
    void mousePressEvent(QMouseEvent* event) override {
        m_pressModifiers = event->modifiers();
        const QPointF at = event->position();
        const int section = logicalIndexAt(at.toPoint());
        if (section < 0 || sectionResizeMode(section) == QHeaderView::Interactive) {
            QHeaderView::mousePressEvent(event);
            return;
        }
        const double middle = sectionViewportPosition(section) + sectionSize(section) / 2;
        const QPointF inside =
            orientation() == Qt::Vertical ? QPointF(at.x(), middle) : QPointF(middle, at.y());
        QMouseEvent moved(event->type(), inside, event->scenePosition(), event->globalPosition(),
                          event->button(), event->buttons(), event->modifiers(), event->pointingDevice());
        QHeaderView::mousePressEvent(&moved);
        event->setAccepted(moved.isAccepted());
    }

private:
    Qt::KeyboardModifiers m_pressModifiers;
};

// The table view: the mouse and the keys go to the FlexGrid, which keeps the current cell and the
// selection itself and mirrors them into the view.
class GridView : public QTableView {
public:
    GridView(FlexGrid* grid, QWidget* parent) : QTableView(parent), m_grid(grid) {
        setHorizontalHeader(new GridHeader(Qt::Horizontal, this));
        setVerticalHeader(new GridHeader(Qt::Vertical, this));
        setSelectionMode(QAbstractItemView::ContiguousSelection);
        setEditTriggers(QAbstractItemView::NoEditTriggers);
        setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
        setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
        setWordWrap(false);
        verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
        verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
        horizontalHeader()->setSectionsClickable(true);
        verticalHeader()->setSectionsClickable(true);
        horizontalHeader()->setHighlightSections(false);
        verticalHeader()->setHighlightSections(false);
        setCornerButtonEnabled(false);
        // The view never scrolls by itself when the current cell moves: code that sets Row or Col
        // leaves it where it is, and the grid brings the cell into view for the user's own moves.
        setAutoScroll(false);
        // Qt's corner button stands where the fixed row and the fixed column meet: it shows cell (0, 0).
        if (auto* corner = findChild<QAbstractButton*>()) {
            m_corner = corner;
            corner->installEventFilter(this);
        }
        // A press on a title or label selects its column or row (a shift-press extends the selection
        // to it), dragging over further titles or labels extends the selection, and a double click
        // is the grid's double click. Qt's own slots run first; the grid then puts its selection.
        for (auto* header : {horizontalHeader(), verticalHeader()}) {
            const bool titles = header == horizontalHeader();
            auto* ours = static_cast<GridHeader*>(header);
            connect(header, &QHeaderView::sectionPressed, this, [this, titles, ours](int section) {
                m_grid->userHeaderPress(titles, section, ours->shiftPressed());
            });
            connect(header, &QHeaderView::sectionEntered, this,
                    [this, titles](int section) { m_grid->userHeaderExtend(titles, section); });
            connect(header, &QHeaderView::sectionDoubleClicked, this, [this](int section) {
                if (section >= 0) m_grid->fire(m_grid->onDblClick);
            });
        }
    }

    void refreshGeometry() { updateGeometries(); }
    void reveal(int viewRow, int viewCol) {
        if (viewRow >= 0 && viewCol >= 0) scrollTo(model()->index(viewRow, viewCol));
    }
    void refreshCorner() {
        if (m_corner) m_corner->update();
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != m_corner || event->type() != QEvent::Paint)
            return QTableView::eventFilter(watched, event);
        // The corner button is disabled (it would select all): its state and palette come from the
        // title row, so the cell is drawn like the other fixed cells and not greyed.
        QStyleOptionHeader option;
        option.initFrom(horizontalHeader());
        option.rect = m_corner->rect();
        option.position = QStyleOptionHeader::OnlyOneSection;
        if (m_grid->Rows() > 0 && m_grid->Cols() > 0)
            option.text = QString::fromStdString(m_grid->TextMatrix(0, 0));
        option.textAlignment = Qt::AlignCenter;
        QStylePainter painter(m_corner);
        painter.drawControl(QStyle::CE_Header, option);
        return true;
    }

protected:
    void mousePressEvent(QMouseEvent* event) override {
        QModelIndex index = indexAt(event->position().toPoint());
        setFocus(Qt::MouseFocusReason);
        if (!index.isValid()) return;
        m_pressed = true;
        auto [row, col] = gridCell(index);
        m_grid->userPress(row, col, event->modifiers() & Qt::ShiftModifier);
    }
    void mouseMoveEvent(QMouseEvent* event) override {
        if (!m_pressed) return;
        QModelIndex index = indexAt(event->position().toPoint());
        if (!index.isValid()) return;
        auto [row, col] = gridCell(index);
        if (row != m_grid->m_rowSel || col != m_grid->m_colSel) m_grid->extendTo(row, col);
    }
    void mouseReleaseEvent(QMouseEvent* event) override {
        if (!m_pressed) return;
        m_pressed = false;
        m_grid->fire(m_grid->onClick);
    }
    void mouseDoubleClickEvent(QMouseEvent* event) override {
        QModelIndex index = indexAt(event->position().toPoint());
        if (index.isValid()) m_grid->fire(m_grid->onDblClick);
    }
    void keyPressEvent(QKeyEvent* event) override {
        int ascii = event->text().size() == 1 ? event->text().at(0).unicode() : 0;
        m_grid->pressKey(event->key(), ascii, shiftState(event->modifiers()));
    }

private:
    std::pair<int, int> gridCell(const QModelIndex& index) const {
        auto* model = static_cast<GridModel*>(this->model());
        return {index.row() + model->titleRows(), index.column() + model->labelCols()};
    }
    FlexGrid* m_grid;
    QAbstractButton* m_corner = nullptr;
    bool m_pressed = false;
};

// ---------------------------------------------------------------------------------------------

FlexGrid::FlexGrid(QWidget* parent, int rows, int cols, int fixedRows, int fixedCols)
    : Control(new GridView(this, parent)),
      m_store(std::max(0, rows), std::max(0, cols)),
      m_model(std::make_unique<GridModel>(this)),
      m_fixedRows(std::clamp(fixedRows, 0, std::max(0, rows))),
      m_fixedCols(std::clamp(fixedCols, 0, std::max(0, cols))) {
    m_colWidths.assign(static_cast<size_t>(Cols()), -1);
    m_colAlign.assign(static_cast<size_t>(Cols()), FlexAlign::General);
    view()->setModel(m_model.get());
    m_model->onCornerChanged = [this] {
        if (GridView* v = view()) v->refreshCorner();
    };
    m_row = m_rowSel = std::min(m_fixedRows, std::max(0, Rows() - 1));
    m_col = m_colSel = std::min(m_fixedCols, std::max(0, Cols() - 1));
    structureChanged();
}

FlexGrid::~FlexGrid() {
    if (GridView* v = view()) v->setModel(nullptr);
}

GridView* FlexGrid::view() const {
    return static_cast<GridView*>(widget());
}

void FlexGrid::checkRow(int row) const {
    if (row < 0 || row >= Rows()) raise(kInvalidPropertyValue);
}
void FlexGrid::checkCol(int col) const {
    if (col < 0 || col >= Cols()) raise(kInvalidPropertyValue);
}

void FlexGrid::flush() {
    m_model->flushAppends();
    syncSelection();
    view()->refreshGeometry();
}

void FlexGrid::structureChanged() {
    m_model->resetShape();
    view()->horizontalHeader()->setVisible(m_fixedRows > 0);
    view()->verticalHeader()->setVisible(m_fixedCols > 0);
    applyColumnLayout();
    clampCurrent();
    syncSelection();
}

void FlexGrid::applyColumnLayout() {
    int labelCols = m_fixedCols > 0 ? 1 : 0;
    for (int c = 0; c < Cols(); ++c) {
        double w = m_colWidths[static_cast<size_t>(c)];
        if (w < 0) continue;
        if (c < labelCols) {
            view()->verticalHeader()->setFixedWidth(toPixels(w));
        } else {
            view()->setColumnWidth(c - labelCols, toPixels(w));
        }
    }
}

void FlexGrid::clampCurrent() {
    auto clampTo = [](int v, int count) { return std::clamp(v, 0, std::max(0, count - 1)); };
    m_row = clampTo(m_row, Rows());
    m_rowSel = clampTo(m_rowSel, Rows());
    m_col = clampTo(m_col, Cols());
    m_colSel = clampTo(m_colSel, Cols());
}

void FlexGrid::syncSelection() {
    QItemSelectionModel* selection = view()->selectionModel();
    if (!selection) return;
    int titleRows = m_model->titleRows();
    int labelCols = m_model->labelCols();
    int r0 = std::max(std::min(m_row, m_rowSel) - titleRows, 0);
    int r1 = std::max(m_row, m_rowSel) - titleRows;
    int c0 = std::max(std::min(m_col, m_colSel) - labelCols, 0);
    int c1 = std::max(m_col, m_colSel) - labelCols;
    r1 = std::min(r1, m_model->shownRows() - 1);
    c1 = std::min(c1, m_model->columnCount({}) - 1);
    if (r1 < r0 || c1 < c0) {
        selection->clearSelection();
        return;
    }
    QItemSelection range(m_model->index(r0, c0), m_model->index(r1, c1));
    selection->select(range, QItemSelectionModel::ClearAndSelect);
    QModelIndex current =
        m_model->index(std::clamp(m_row - titleRows, 0, r1), std::clamp(m_col - labelCols, 0, c1));
    selection->setCurrentIndex(current, QItemSelectionModel::NoUpdate);
}

void FlexGrid::setRows(int rows) {
    if (rows < 0) raise(kInvalidPropertyValue);
    int old = Rows();
    if (rows == old) return;
    m_model->flushAppends();
    if (rows < m_fixedRows) {
        m_store.setRows(rows);
        m_fixedRows = rows;
        structureChanged();
        return;
    }
    m_store.setRows(rows);
    if (rows < old) {
        m_model->truncateViewRows(m_model->storeViewRows());
    } else {
        m_model->scheduleFlush();
    }
    clampCurrent();
    syncSelection();
}

void FlexGrid::setCols(int cols) {
    if (cols < 0) raise(kInvalidPropertyValue);
    if (cols == Cols()) return;
    m_store.setCols(cols);
    m_colWidths.resize(static_cast<size_t>(cols), -1);
    m_colAlign.resize(static_cast<size_t>(cols), FlexAlign::General);
    if (m_fixedCols > cols) m_fixedCols = cols;
    structureChanged();
}

void FlexGrid::setFixedRows(int rows) {
    if (rows < 0 || rows > Rows()) raise(kInvalidPropertyValue);
    if (rows == m_fixedRows) return;
    m_fixedRows = rows;
    structureChanged();
}

void FlexGrid::setFixedCols(int cols) {
    if (cols < 0 || cols > Cols()) raise(kInvalidPropertyValue);
    if (cols == m_fixedCols) return;
    m_fixedCols = cols;
    structureChanged();
}

void FlexGrid::setTextMatrix(int row, int col, const std::string& text) {
    m_store.setCell(row, col, text);
    if (m_redraw) m_model->cellChanged(row, col);
}

void FlexGrid::setRow(int row) {
    checkRow(row);
    m_row = m_rowSel = row;
    syncSelection();
}

void FlexGrid::setCol(int col) {
    checkCol(col);
    m_col = m_colSel = col;
    syncSelection();
}

void FlexGrid::setRowSel(int row) {
    checkRow(row);
    m_rowSel = row;
    syncSelection();
}

void FlexGrid::setColSel(int col) {
    checkCol(col);
    m_colSel = col;
    syncSelection();
}

void FlexGrid::AddItem(const std::string& text, int index) {
    if (index < -1 || index > Rows()) raise(kInvalidPropertyValue);
    bool appending = index < 0 || index == Rows();
    if (appending) {
        m_store.addItem(text);
        if (m_redraw) m_model->scheduleFlush();
        return;
    }
    m_model->flushAppends();
    m_store.addItem(text, index);
    int viewRow = index - m_model->titleRows();
    if (viewRow < 0) {
        m_model->resetShape();
    } else {
        m_model->insertViewRow(viewRow);
    }
    syncSelection();
}

void FlexGrid::RemoveRows(int first, int count) {
    if (count < 1 || first < 0 || first >= Rows() || count > Rows() - first) raise(kInvalidPropertyValue);
    const int fixedRemoved = std::max(0, std::min(first + count, m_fixedRows) - first);
    if (m_fixedRows > 0 && fixedRemoved == 0 && Rows() - m_fixedRows == count)
        raise(kInvalidPropertyValue, "Cannot remove last non-fixed row");
    m_model->flushAppends();
    const int viewFirst = first - m_model->titleRows();
    m_store.removeRows(first, count);
    if (viewFirst < 0 || fixedRemoved > 0) {
        if (m_fixedRows > Rows()) m_fixedRows = Rows();
        structureChanged();
        return;
    }
    m_model->removeViewRows(viewFirst, count);
    clampCurrent();
    syncSelection();
}

void FlexGrid::Clear() {
    m_store.clearTexts();
    m_model->allChanged();
}

void FlexGrid::setColWidth(int col, double twips) {
    checkCol(col);
    m_colWidths[static_cast<size_t>(col)] = std::max(0.0, twips);
    applyColumnLayout();
}

double FlexGrid::ColWidth(int col) const {
    checkCol(col);
    double w = m_colWidths[static_cast<size_t>(col)];
    if (w >= 0) return w;
    int labelCols = m_model->labelCols();
    if (col < labelCols) return toTwips(view()->verticalHeader()->width());
    return toTwips(view()->columnWidth(col - labelCols));
}

void FlexGrid::setColWidthFromText(int col, const std::string& text) {
    Window* window = windowOf(widget());
    QFont font = window ? window->font() : widget()->font();
    setColWidth(col, textWidthTwips(font, text));
}

void FlexGrid::fitColWidthToText(int col, const std::string& text) {
    checkCol(col);
    const GridView& v = *view();
    const QString shown = QString::fromStdString(text);
    // Texts are laid out at fractional widths: a text a fraction wider than its room is cut.
    auto advance = [&](const QWidget& w) {
        return static_cast<int>(std::ceil(QFontMetricsF(w.font()).horizontalAdvance(shown)));
    };
    int needed = 0;
    if (col < m_model->labelCols()) {
        const QHeaderView& labels = *v.verticalHeader();
        needed = advance(labels) + 2 * labels.style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, &labels);
    } else {
        // The item delegate keeps this margin on either side; the grid line takes the cell's last pixel.
        const int margin = v.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &v) + 1;
        needed = advance(v) + 2 * margin + (v.showGrid() ? 1 : 0);
    }
    if (toPixels(ColWidth(col)) < needed) setColWidth(col, toTwips(needed));
}

namespace {

// What the view's frame and one scroll bar take of its width or its height.
int frameAndScrollBarPixels(const GridView& v) {
    return 2 * v.frameWidth() + v.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &v);
}

}  // namespace

double FlexGrid::WidthForAllCols() const {
    const GridView& v = *view();
    int pixels = frameAndScrollBarPixels(v);
    for (int c = 0; c < Cols(); ++c) pixels += toPixels(ColWidth(c));
    return toTwips(pixels);
}

double FlexGrid::HeightForRows(int rows) const {
    const GridView& v = *view();
    int pixels = frameAndScrollBarPixels(v) + rows * v.verticalHeader()->defaultSectionSize();
    if (!v.horizontalHeader()->isHidden()) pixels += v.horizontalHeader()->sizeHint().height();
    return toTwips(pixels);
}

void FlexGrid::setRowHeight(double twips) {
    view()->verticalHeader()->setMinimumSectionSize(1);
    view()->verticalHeader()->setDefaultSectionSize(std::max(1, toPixels(twips)));
}

double FlexGrid::RowHeight() const {
    return toTwips(view()->verticalHeader()->defaultSectionSize());
}

void FlexGrid::setColAlignment(int col, FlexAlign alignment) {
    checkCol(col);
    m_colAlign[static_cast<size_t>(col)] = alignment;
    m_model->allChanged();
}

FlexAlign FlexGrid::ColAlignment(int col) const {
    if (col < 0 || col >= static_cast<int>(m_colAlign.size())) return FlexAlign::General;
    return m_colAlign[static_cast<size_t>(col)];
}

int FlexGrid::TopRow() const {
    const_cast<FlexGrid*>(this)->flush();
    int top = view()->verticalScrollBar()->value() + m_model->titleRows();
    return std::max(top, std::min(m_fixedRows, std::max(0, Rows() - 1)));
}

void FlexGrid::setTopRow(int row) {
    if (row < m_fixedRows || row >= Rows()) raise(kInvalidPropertyValue);
    flush();
    view()->verticalScrollBar()->setValue(row - m_model->titleRows());
}

double FlexGrid::CellLeft() const {
    int labelCols = m_model->labelCols();
    int frame = view()->frameWidth();
    if (m_col < labelCols) return toTwips(frame);
    int x = view()->columnViewportPosition(m_col - labelCols);
    return toTwips(frame + (labelCols ? view()->verticalHeader()->width() : 0) + x);
}

double FlexGrid::CellTop() const {
    int titleRows = m_model->titleRows();
    int frame = view()->frameWidth();
    if (m_row < titleRows) return toTwips(frame);
    const_cast<FlexGrid*>(this)->flush();
    int y = view()->rowViewportPosition(m_row - titleRows);
    return toTwips(frame + (titleRows ? view()->horizontalHeader()->height() : 0) + y);
}

double FlexGrid::CellWidth() const {
    return ColWidth(m_col);
}

double FlexGrid::CellHeight() const {
    if (m_row < m_model->titleRows()) return toTwips(view()->horizontalHeader()->height());
    return RowHeight();
}

void FlexGrid::setRedraw(bool on) {
    if (on == m_redraw) return;
    m_redraw = on;
    view()->setUpdatesEnabled(on);
    if (on) {
        m_model->flushAppends();
        m_model->allChanged();
        syncSelection();
    }
}

// ---------------------------------------------------------------------------------------------
// User actions

void FlexGrid::userPress(int row, int col, bool extend) {
    if (extend) {
        extendTo(row, col);
        return;
    }
    m_row = m_rowSel = row;
    m_col = m_colSel = col;
    syncSelection();
    revealCurrent();
    fire(onSelChange);
}

void FlexGrid::extendTo(int row, int col) {
    checkRow(row);
    checkCol(col);
    m_rowSel = row;
    m_colSel = col;
    syncSelection();
    fire(onSelChange);
}

void FlexGrid::userHeaderPress(bool columnTitle, int section, bool extend) {
    view()->setFocus(Qt::MouseFocusReason);
    if (extend) {
        userHeaderExtend(columnTitle, section);
        fire(onClick);
        return;
    }
    if (columnTitle) {
        int col = section + m_model->labelCols();
        m_col = m_colSel = col;
        m_row = std::min(m_fixedRows, std::max(0, Rows() - 1));
        m_rowSel = std::max(0, Rows() - 1);
    } else {
        int row = section + m_model->titleRows();
        m_row = m_rowSel = row;
        m_col = std::min(m_fixedCols, std::max(0, Cols() - 1));
        m_colSel = std::max(0, Cols() - 1);
    }
    syncSelection();
    revealCurrent();
    fire(onSelChange);
    fire(onClick);
}

// The selection keeps its anchor row (column) and ends at the row (column) of this label (title),
// whole rows (columns) from the first data column (row) to the last.
void FlexGrid::userHeaderExtend(bool columnTitle, int section) {
    if (columnTitle) {
        const int col = section + m_model->labelCols();
        if (col < 0 || col >= Cols()) return;
        m_colSel = col;
        m_row = std::min(m_fixedRows, std::max(0, Rows() - 1));
        m_rowSel = std::max(0, Rows() - 1);
    } else {
        const int row = section + m_model->titleRows();
        if (row < 0 || row >= Rows()) return;
        m_rowSel = row;
        m_col = std::min(m_fixedCols, std::max(0, Cols() - 1));
        m_colSel = std::max(0, Cols() - 1);
    }
    syncSelection();
    fire(onSelChange);
}

void FlexGrid::clickCell(int row, int col) {
    checkRow(row);
    checkCol(col);
    bool title = row == 0 && m_fixedRows > 0 && col >= m_fixedCols;
    bool label = col == 0 && m_fixedCols > 0 && row >= m_fixedRows;
    if (title) {
        userHeaderPress(true, col - m_model->labelCols(), false);
        return;
    }
    if (label) {
        userHeaderPress(false, row - m_model->titleRows(), false);
        return;
    }
    userPress(row, col, false);
    fire(onClick);
}

void FlexGrid::doubleClickCell(int row, int col) {
    clickCell(row, col);
    fire(onDblClick);
}

void FlexGrid::moveCurrent(int row, int col) {
    row = std::clamp(row, m_fixedRows, std::max(m_fixedRows, Rows() - 1));
    col = std::clamp(col, m_fixedCols, std::max(m_fixedCols, Cols() - 1));
    if (row >= Rows() || col >= Cols()) return;
    m_row = m_rowSel = row;
    m_col = m_colSel = col;
    flush();
    revealCurrent();
    fire(onSelChange);
}

void FlexGrid::revealCurrent() {
    view()->reveal(m_row - m_model->titleRows(), m_col - m_model->labelCols());
}

void FlexGrid::pressKey(int keyCode, int keyAscii, int shift) {
    fire(onKeyDown, keyCode, shift);
    switch (keyCode) {
        case Qt::Key_Up:
            moveCurrent(m_row - 1, m_col);
            return;
        case Qt::Key_Down:
            moveCurrent(m_row + 1, m_col);
            return;
        case Qt::Key_Left:
            moveCurrent(m_row, m_col - 1);
            return;
        case Qt::Key_Right:
            moveCurrent(m_row, m_col + 1);
            return;
        case Qt::Key_Home:
            moveCurrent(m_row, m_fixedCols);
            return;
        case Qt::Key_End:
            moveCurrent(m_row, Cols() - 1);
            return;
        default:
            break;
    }
    if (keyAscii != 0) fire(onKeyPress, keyAscii);
}

}  // namespace sq
