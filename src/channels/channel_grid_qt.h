// Grid1, the channel grid: a view of ProgramState's channel table, 17 rows by
// 9 columns with the header as row 0, shaped and striped as the radio's
// programming sheet, which turns a left press, Enter or F2 into an edit
// request and the Menu key or Shift+F10 into its context menu.
#pragma once

#include <QPalette>
#include <QPersistentModelIndex>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QTableWidget>

#include <memory>

#include "channels/program_state.h"

namespace quelro {

class ChannelGrid : public QTableWidget {
    Q_OBJECT

  public:
    // Background of the even channel rows: the programming sheet's lilac on
    // a light palette; on a dark or high-contrast one a shade of the
    // palette's own base that keeps its text readable.
    static QColor StripeColour(const QPalette& palette);
    // The contrast ratio of two colours, 1 (none) to 21 (black on white).
    static double Contrast(const QColor& a, const QColor& b);

    // `language` is the owner's: the language every text is drawn in.
    ChannelGrid(const ProgramState& state, const int& language, QWidget* parent = nullptr);
    ~ChannelGrid() override;
    ChannelGrid(const ChannelGrid&) = delete;
    ChannelGrid& operator=(const ChannelGrid&) = delete;

    // Column widths (at least as wide as their headers and their widest
    // texts in either language), centring, row heights (at least a line of
    // the font) and striping; run at start-up and again when the font or
    // the palette changes.
    void Shape();

    // Header text of column 0..8 (row 0 of the grid).
    void SetHeaderText(int column, const QString& text);
    QString HeaderText(int column) const;
    // The column as a listener hears it: its caption, but the two tone
    // columns told apart.
    QString ColumnName(int column) const;

    // Copies cells of the store into the view.
    void ShowCell(int row, int column);
    void ShowRow(int row);
    void ShowAll();

    // The text the view shows in (row 1..16, column 0..8).
    QString CellText(int row, int column) const;

    // The selected cell in grid numbering (rows 1..16), and selecting one.
    int SelectedRow() const { return currentRow() + 1; }
    int SelectedColumn() const { return currentColumn(); }
    void SelectCell(int row, int column);

    // Geometry of a cell in the coordinates of the grid's viewport, where the
    // in-place editors live.
    QRect CellRect(int row, int column) const;

    // The size that shows all 17 rows and 9 columns without scrolling.
    QSize FullSize() const;

    // What a listener hears, in the window's language: the table's name, a
    // cell's text ("empty" for none), a channel ("channel 03") and a cell's
    // place ("RX frequency, channel 03").
    QString TableName() const;
    QString CellName(int row, int column) const;
    QString ChannelPlace(int row) const;
    QString CellPlace(int row, int column) const;
    // A cell's place and then its text ("RX frequency, channel 03, 462.56250"),
    // as an edit's result is spoken.
    QString CellPlaceAndText(int row, int column) const;

    // The grid while it lives, null from the start of its destruction: what
    // its accessible interfaces hold, since a client may still ask them.
    std::shared_ptr<ChannelGrid* const> Liveness() const { return self_; }

  signals:
    // A left press selected a cell (the press counts as the click at once, so
    // a drag never selects a range).
    void LeftPressed();
    // The left button of that press came up again.
    void LeftReleased();
    // Enter or F2 on the grid.
    void EnterPressed();
    // Channels taken by their number (column 0) were dropped on row 1..16.
    void ChannelsDropped(int row);

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void changeEvent(QEvent* event) override;
    // Ctrl with a move key (Ctrl+Home, Ctrl+End, Ctrl+arrows) takes the
    // selection along like the plain key, so that Delete, paste and the
    // editing commands act on the cell the user has just heard.
    QItemSelectionModel::SelectionFlags
    selectionCommand(const QModelIndex& index, const QEvent* event = nullptr) const override;

  private:
    // The width column `column` needs for its header and its texts.
    int ColumnWidthNeeded(int column) const;
    // Shift with a move key: the range from the anchor to the new current
    // cell, the anchor being the cell last made current otherwise (a press,
    // a plain move, or the program choosing it).
    bool ExtendSelection(int key);
    // True when view row `viewRow` is one of several selected rows.
    bool InSelectionOfSeveralRows(int viewRow) const;

    const ProgramState& state_;
    const int& language_;
    std::shared_ptr<ChannelGrid*> self_;
    QPersistentModelIndex anchor_;
    bool extending_ = false;
    // A press on the number of a channel may become a drag of it: where it
    // started, and whether it has gone far enough to be one.
    QPoint dragStart_;
    int dragRow_ = -1;
    bool dragging_ = false;
};

} // namespace quelro
