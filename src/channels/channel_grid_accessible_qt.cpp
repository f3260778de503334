// Grid1's accessible table: the table itself, and one small interface per
// cell, header and corner, made when first asked for and registered with
// QAccessible so that a client keeps one identity per cell. Every answer is
// read from the grid at the moment it is asked, so names follow edits and
// language switches without events of their own; once the grid's
// destruction has begun every interface answers as an empty, invalid one.
#include "channels/channel_grid_accessible_qt.h"

#include <QAccessible>
#include <QApplication>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QWindow>

#include <algorithm>
#include <set>

#include "channels/channel_grid_qt.h"

namespace quelro {
namespace grid_accessible {
namespace {

std::function<void(QAccessibleEvent*)>& Sink() {
    static std::function<void(QAccessibleEvent*)> sink;
    return sink;
}

QAccessibleInterface* Factory(const QString& className, QObject* object) {
    if (className == QLatin1String(ChannelGrid::staticMetaObject.className()))
        if (auto* grid = qobject_cast<ChannelGrid*>(object)) return new ChannelGridAccessible(grid);
    return nullptr;
}

} // namespace

void SetEventSink(std::function<void(QAccessibleEvent*)> sink) {
    Sink() = std::move(sink);
}

void Send(QAccessibleEvent* event) {
    if (Sink())
        Sink()(event);
    else
        QAccessible::updateAccessibility(event);
}

void InstallFactory() {
    static const bool installed = [] {
        QAccessible::installFactory(Factory);
        return true;
    }();
    (void)installed;
}

} // namespace grid_accessible

namespace {

using grid_accessible::CellChild;
using grid_accessible::kLayoutColumns;
using grid_accessible::kViewportChild;

enum class Part { Corner, ColumnHeader, RowHeader, Cell };

// One child of the table that is no widget of its own.
class GridPart : public QAccessibleInterface,
                 public QAccessibleTableCellInterface,
                 public QAccessibleActionInterface {
  public:
    GridPart(std::shared_ptr<ChannelGrid* const> grid, Part part, int viewRow, int column)
        : grid_(std::move(grid)), part_(part), viewRow_(viewRow), column_(column) {}

    bool isValid() const override { return Grid() != nullptr; }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override {
        ChannelGrid* grid = Grid();
        return grid != nullptr ? grid->window()->windowHandle() : nullptr;
    }
    QAccessibleInterface* parent() const override {
        return Grid() != nullptr ? QAccessible::queryAccessibleInterface(Grid()) : nullptr;
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    void setText(QAccessible::Text, const QString&) override {}

    QAccessible::Role role() const override {
        switch (part_) {
        case Part::RowHeader:
            return QAccessible::RowHeader;
        case Part::Cell:
            return QAccessible::Cell;
        default:
            return QAccessible::ColumnHeader;
        }
    }

    QString text(QAccessible::Text t) const override {
        ChannelGrid* grid = Grid();
        if (grid == nullptr) return {};
        const int row = viewRow_ + 1;
        if (t == QAccessible::Name) {
            switch (part_) {
            case Part::Corner:
                return grid->HeaderText(kColNumber);
            case Part::ColumnHeader:
                return grid->ColumnName(column_);
            case Part::RowHeader:
                return grid->ChannelPlace(row);
            case Part::Cell:
                return grid->CellName(row, column_);
            }
        }
        if (t == QAccessible::Description && part_ == Part::Cell)
            return grid->CellPlace(row, column_);
        return {};
    }

    QRect rect() const override {
        ChannelGrid* grid = Grid();
        if (grid == nullptr || part_ == Part::Corner) return {};
        if (part_ == Part::ColumnHeader) {
            const QHeaderView* header = grid->horizontalHeader();
            const QPoint at =
                header->mapToGlobal(QPoint(header->sectionViewportPosition(column_), 0));
            return {at, QSize(header->sectionSize(column_), header->height())};
        }
        // The row header is the channel number's cell (the grid shows no
        // header of its own beside it).
        const QRect cell = grid->CellRect(viewRow_ + 1, part_ == Part::Cell ? column_ : kColNumber);
        return {grid->viewport()->mapToGlobal(cell.topLeft()), cell.size()};
    }

    QAccessible::State state() const override {
        QAccessible::State s;
        ChannelGrid* grid = Grid();
        if (grid == nullptr) {
            s.invalid = true;
            return s;
        }
        if (part_ != Part::Cell) return s;
        s.selectable = true;
        s.focusable = true;
        s.selected = isSelected();
        s.focused = grid->hasFocus() && grid->currentIndex() == Index();
        return s;
    }

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (part_ != Part::Cell) return nullptr;
        if (type == QAccessible::TableCellInterface)
            return static_cast<QAccessibleTableCellInterface*>(this);
        if (type == QAccessible::ActionInterface)
            return static_cast<QAccessibleActionInterface*>(this);
        return nullptr;
    }

    bool isSelected() const override {
        ChannelGrid* grid = Grid();
        return grid != nullptr && grid->selectionModel()->isSelected(Index());
    }
    QList<QAccessibleInterface*> columnHeaderCells() const override {
        return Headers(CellChild(-1, column_));
    }
    QList<QAccessibleInterface*> rowHeaderCells() const override {
        return Headers(CellChild(viewRow_, -1));
    }
    int columnIndex() const override { return column_; }
    // Where the part sits among the children of `grid`'s table; -1 when it
    // belongs to another grid.
    int ChildIndexIn(const ChannelGrid* grid) const {
        if (grid == nullptr || Grid() != grid) return -1;
        switch (part_) {
        case Part::Corner:
            return 0;
        case Part::ColumnHeader:
            return CellChild(-1, column_);
        case Part::RowHeader:
            return CellChild(viewRow_, -1);
        case Part::Cell:
            return CellChild(viewRow_, column_);
        }
        return -1;
    }
    int rowIndex() const override { return viewRow_; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override { return parent(); }

    // Focusing a cell makes it the current cell of the grid; pressing it
    // opens its editor, as Enter does.
    QStringList actionNames() const override { return {setFocusAction(), pressAction()}; }
    QStringList keyBindingsForAction(const QString& name) const override {
        return name == pressAction() ? QStringList{QStringLiteral("Return"), QStringLiteral("F2")}
                                     : QStringList{};
    }
    void doAction(const QString& name) override {
        ChannelGrid* grid = Grid();
        if (grid == nullptr || !grid->isEnabled()) return;
        if (name != setFocusAction() && name != pressAction()) return;
        grid->setFocus(Qt::OtherFocusReason);
        grid->SelectCell(viewRow_ + 1, column_);
        if (name == pressAction()) emit grid->EnterPressed();
    }

  private:
    ChannelGrid* Grid() const { return *grid_; }
    QModelIndex Index() const { return Grid()->model()->index(viewRow_, column_); }
    QList<QAccessibleInterface*> Headers(int child) const {
        QAccessibleInterface* grid = parent();
        QAccessibleInterface* header = grid != nullptr ? grid->child(child) : nullptr;
        return header != nullptr ? QList<QAccessibleInterface*>{header}
                                 : QList<QAccessibleInterface*>{};
    }

    std::shared_ptr<ChannelGrid* const> grid_;
    Part part_;
    int viewRow_;
    int column_;
};

} // namespace

ChannelGridAccessible::ChannelGridAccessible(ChannelGrid* grid)
    : QAccessibleWidget(grid, QAccessible::Table), grid_(grid->Liveness()) {}

ChannelGridAccessible::~ChannelGridAccessible() {
    for (const auto& [index, id] : children_) QAccessible::deleteAccessibleInterface(id);
}

bool ChannelGridAccessible::isValid() const {
    return Grid() != nullptr && QAccessibleWidget::isValid();
}

QString ChannelGridAccessible::text(QAccessible::Text t) const {
    ChannelGrid* grid = Grid();
    if (grid == nullptr) return {};
    if (t == QAccessible::Name && grid->accessibleName().isEmpty()) return grid->TableName();
    return QAccessibleWidget::text(t);
}

int ChannelGridAccessible::childCount() const {
    return Grid() != nullptr ? kViewportChild + 1 : 0;
}

QAccessibleInterface* ChannelGridAccessible::child(int index) const {
    ChannelGrid* grid = Grid();
    if (grid == nullptr || index < 0 || index > kViewportChild) return nullptr;
    if (index == kViewportChild) return QAccessible::queryAccessibleInterface(grid->viewport());
    if (auto known = children_.find(index); known != children_.end())
        return QAccessible::accessibleInterface(known->second);
    const int layoutRow = index / kLayoutColumns;
    const int layoutColumn = index % kLayoutColumns;
    const Part part = layoutRow == 0      ? (layoutColumn == 0 ? Part::Corner : Part::ColumnHeader)
                      : layoutColumn == 0 ? Part::RowHeader
                                          : Part::Cell;
    auto* made = new GridPart(grid_, part, layoutRow - 1, layoutColumn - 1);
    children_[index] = QAccessible::registerAccessibleInterface(made);
    return made;
}

int ChannelGridAccessible::indexOfChild(const QAccessibleInterface* child) const {
    ChannelGrid* grid = Grid();
    if (grid == nullptr || child == nullptr) return -1;
    if (child->object() == grid->viewport()) return kViewportChild;
    const auto* part = dynamic_cast<const GridPart*>(child);
    return part != nullptr ? part->ChildIndexIn(grid) : -1;
}

QAccessibleInterface* ChannelGridAccessible::childAt(int x, int y) const {
    ChannelGrid* grid = Grid();
    if (grid == nullptr) return nullptr;
    const QPoint global(x, y);
    const QHeaderView* header = grid->horizontalHeader();
    const QPoint inHeader = header->mapFromGlobal(global);
    if (header->rect().contains(inHeader)) {
        const int column = header->logicalIndexAt(inHeader);
        return column >= 0 ? child(CellChild(-1, column)) : nullptr;
    }
    const QModelIndex at = grid->indexAt(grid->viewport()->mapFromGlobal(global));
    return at.isValid() ? child(CellChild(at.row(), at.column())) : nullptr;
}

QAccessibleInterface* ChannelGridAccessible::focusChild() const {
    ChannelGrid* grid = Grid();
    if (grid == nullptr) return nullptr;
    QWidget* focus = QApplication::focusWidget();
    if (focus != nullptr && grid->viewport()->isAncestorOf(focus))
        return QAccessible::queryAccessibleInterface(focus);
    const QModelIndex current = grid->currentIndex();
    if (!grid->hasFocus() || !current.isValid()) return nullptr;
    return child(CellChild(current.row(), current.column()));
}

void* ChannelGridAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::TableInterface) return static_cast<QAccessibleTableInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

QAccessibleInterface* ChannelGridAccessible::cellAt(int row, int column) const {
    if (Grid() == nullptr) return nullptr;
    // The platform bridge takes the cell of whatever row or column a client
    // names without checking it; a cell of the edge answers instead of none.
    return child(
        CellChild(std::clamp(row, 0, kChannels - 1), std::clamp(column, 0, kGridCols - 1)));
}

int ChannelGridAccessible::selectedCellCount() const {
    return Grid() != nullptr ? static_cast<int>(Grid()->selectionModel()->selectedIndexes().size())
                             : 0;
}

QList<QAccessibleInterface*> ChannelGridAccessible::selectedCells() const {
    QList<QAccessibleInterface*> cells;
    if (Grid() == nullptr) return cells;
    for (const QModelIndex& index : Grid()->selectionModel()->selectedIndexes())
        cells.append(child(CellChild(index.row(), index.column())));
    return cells;
}

QString ChannelGridAccessible::columnDescription(int column) const {
    if (Grid() == nullptr || column < 0 || column >= kGridCols) return {};
    return Grid()->ColumnName(column);
}

QString ChannelGridAccessible::rowDescription(int row) const {
    if (Grid() == nullptr || row < 0 || row >= kChannels) return {};
    return Grid()->ChannelPlace(row + 1);
}

int ChannelGridAccessible::selectedColumnCount() const {
    return static_cast<int>(selectedColumns().size());
}

int ChannelGridAccessible::selectedRowCount() const {
    return static_cast<int>(selectedRows().size());
}

int ChannelGridAccessible::columnCount() const {
    return Grid() != nullptr ? kGridCols : 0;
}

int ChannelGridAccessible::rowCount() const {
    return Grid() != nullptr ? kChannels : 0;
}

QList<int> ChannelGridAccessible::selectedColumns() const {
    QList<int> columns;
    for (int c = 0; c < columnCount(); ++c)
        if (isColumnSelected(c)) columns.append(c);
    return columns;
}

QList<int> ChannelGridAccessible::selectedRows() const {
    QList<int> rows;
    for (int r = 0; r < rowCount(); ++r)
        if (isRowSelected(r)) rows.append(r);
    return rows;
}

bool ChannelGridAccessible::isColumnSelected(int column) const {
    return Grid() != nullptr && Grid()->selectionModel()->isColumnSelected(column);
}

bool ChannelGridAccessible::isRowSelected(int row) const {
    return Grid() != nullptr && Grid()->selectionModel()->isRowSelected(row);
}

bool ChannelGridAccessible::Select(int row, int column, bool wholeRow, bool select) {
    ChannelGrid* grid = Grid();
    if (grid == nullptr || row < 0 || row >= kChannels || column < 0 || column >= kGridCols)
        return false;
    QItemSelectionModel::SelectionFlags flags =
        select ? QItemSelectionModel::Select : QItemSelectionModel::Deselect;
    flags |= wholeRow ? QItemSelectionModel::Rows : QItemSelectionModel::Columns;
    grid->selectionModel()->select(grid->model()->index(row, column), flags);
    return true;
}

bool ChannelGridAccessible::selectRow(int row) {
    return Select(row, 0, true, true);
}

bool ChannelGridAccessible::selectColumn(int column) {
    return Select(0, column, false, true);
}

bool ChannelGridAccessible::unselectRow(int row) {
    return Select(row, 0, true, false);
}

bool ChannelGridAccessible::unselectColumn(int column) {
    return Select(0, column, false, false);
}

} // namespace quelro
