// What a screen reader sees of Grid1: a table of 16 channel rows by 9
// columns whose cells are named by their text ("empty" when blank), with
// the column captions as column headers and "channel 03" as row headers,
// all in the language the window shows. The grid's own interface replaces
// Qt's table interface, whose cells go astray with nothing selected and
// while the window is torn down.
#pragma once

#include <QAccessibleWidget>

#include <functional>
#include <map>
#include <memory>

#include "channels/program_state.h"

class QAccessibleEvent;

namespace quelro {

class ChannelGrid;

namespace grid_accessible {

// Children of the table, in the layout Qt's table view numbers its own
// events by: row 0 holds the corner and the 9 column headers, each further
// row its row header and its 9 cells; the viewport (where the cell editors
// live) comes last.
inline constexpr int kLayoutColumns = 1 + kGridCols;
inline constexpr int kLayoutRows = 1 + kChannels;
inline constexpr int kViewportChild = kLayoutColumns * kLayoutRows;

// The child index of cell (view row 0..15, column 0..8); row -1 names the
// column headers, column -1 the row headers.
constexpr int CellChild(int viewRow, int column) {
    return (viewRow + 1) * kLayoutColumns + column + 1;
}

// Where the grid's accessibility events go: to the platform unless a test
// listens instead.
void SetEventSink(std::function<void(QAccessibleEvent*)> sink);
void Send(QAccessibleEvent* event);

// Makes QAccessible build the grid's interface; run before the first query.
void InstallFactory();

} // namespace grid_accessible

class ChannelGridAccessible : public QAccessibleWidget, public QAccessibleTableInterface {
  public:
    explicit ChannelGridAccessible(ChannelGrid* grid);
    ~ChannelGridAccessible() override;
    ChannelGridAccessible(const ChannelGridAccessible&) = delete;
    ChannelGridAccessible& operator=(const ChannelGridAccessible&) = delete;

    bool isValid() const override;
    QAccessible::Role role() const override { return QAccessible::Table; }
    QString text(QAccessible::Text t) const override;
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* focusChild() const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override;
    int selectedCellCount() const override;
    QList<QAccessibleInterface*> selectedCells() const override;
    QString columnDescription(int column) const override;
    QString rowDescription(int row) const override;
    int selectedColumnCount() const override;
    int selectedRowCount() const override;
    int columnCount() const override;
    int rowCount() const override;
    QList<int> selectedColumns() const override;
    QList<int> selectedRows() const override;
    bool isColumnSelected(int column) const override;
    bool isRowSelected(int row) const override;
    bool selectRow(int row) override;
    bool selectColumn(int column) override;
    bool unselectRow(int row) override;
    bool unselectColumn(int column) override;
    // The table's shape and its cells never change; a cell reads its text
    // when asked.
    void modelChange(QAccessibleTableModelChangeEvent*) override {}

  private:
    ChannelGrid* Grid() const { return *grid_; }
    bool Select(int row, int column, bool wholeRow, bool select);

    // Null from the moment the grid's destruction begins.
    std::shared_ptr<ChannelGrid* const> grid_;
    // The interfaces of the children made so far, by child index.
    mutable std::map<int, QAccessible::Id> children_;
};

} // namespace quelro
