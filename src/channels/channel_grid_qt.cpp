// Grid1: the channel table's view, shaped from the twip sizes of the
// programming sheet (15 twips to the pixel).
#include "channels/channel_grid_qt.h"

#include <QApplication>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMouseEvent>

#include <algorithm>
#include <array>
#include <utility>

#include "i18n/captions.h"

namespace quelro {
namespace {

constexpr int kTwipsPerPixel = 15;
constexpr std::array<int, kGridCols> kColumnTwips{500, 1330, 1000, 1330, 1000, 800, 850, 1000, 900};
constexpr int kRowTwips = 300;
// Room left and right of a header text so that it is never cut.
constexpr int kHeaderPadding = 12;

} // namespace

ChannelGrid::ChannelGrid(const ProgramState& state, QWidget* parent)
    : QTableWidget(kChannels, kGridCols, parent), state_(state) {
    setObjectName("Grid1");
    verticalHeader()->hide();
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setHighlightSections(false);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumSectionSize(1);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setCornerButtonEnabled(false);
    setTabKeyNavigation(false);
    setWordWrap(false);
    for (int c = 0; c < kGridCols; ++c) setHorizontalHeaderItem(c, new QTableWidgetItem);
    for (int r = 0; r < kChannels; ++r)
        for (int c = 0; c < kGridCols; ++c) {
            auto* item = new QTableWidgetItem;
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            setItem(r, c, item);
        }
}

void ChannelGrid::Shape() {
    const QFontMetrics metrics = horizontalHeader()->fontMetrics();
    for (int c = 0; c < kGridCols; ++c) {
        const int header =
            std::max(metrics.horizontalAdvance(QString::fromUtf8(
                         kGridHeaders[c].zh.data(), static_cast<int>(kGridHeaders[c].zh.size()))),
                     metrics.horizontalAdvance(QString::fromUtf8(
                         kGridHeaders[c].en.data(), static_cast<int>(kGridHeaders[c].en.size()))));
        setColumnWidth(c, std::max(kColumnTwips[c] / kTwipsPerPixel, header + kHeaderPadding));
        horizontalHeaderItem(c)->setTextAlignment(Qt::AlignCenter);
    }
    for (int r = 0; r < kChannels; ++r) {
        setRowHeight(r, kRowTwips / kTwipsPerPixel);
        const bool even = (r + 1) % 2 == 0;
        for (int c = 0; c < kGridCols; ++c) {
            item(r, c)->setTextAlignment(Qt::AlignCenter);
            if (even) item(r, c)->setBackground(StripeColour());
        }
    }
}

void ChannelGrid::SetHeaderText(int column, const QString& text) {
    horizontalHeaderItem(column)->setText(text);
}

QString ChannelGrid::HeaderText(int column) const {
    return horizontalHeaderItem(column)->text();
}

void ChannelGrid::ShowCell(int row, int column) {
    item(row - 1, column)->setText(QString::fromStdString(state_.Cell(row, column)));
}

void ChannelGrid::ShowRow(int row) {
    for (int c = 0; c < kGridCols; ++c) ShowCell(row, c);
}

void ChannelGrid::ShowAll() {
    for (int r = 1; r <= kChannels; ++r) ShowRow(r);
}

QString ChannelGrid::CellText(int row, int column) const {
    return item(row - 1, column)->text();
}

void ChannelGrid::SelectCell(int row, int column) {
    // The one cell, whatever modifier keys are held: a paste starts at the
    // top of the selection.
    setCurrentCell(row - 1, column, QItemSelectionModel::ClearAndSelect);
}

QRect ChannelGrid::CellRect(int row, int column) const {
    return visualItemRect(item(row - 1, column));
}

QSize ChannelGrid::FullSize() const {
    int width = 2 * frameWidth();
    for (int c = 0; c < kGridCols; ++c) width += columnWidth(c);
    int height = 2 * frameWidth() + horizontalHeader()->sizeHint().height();
    for (int r = 0; r < kChannels; ++r) height += rowHeight(r);
    return {width, height};
}

void ChannelGrid::mousePressEvent(QMouseEvent* event) {
    switch (event->button()) {
    case Qt::LeftButton: {
        // Shift and Ctrl add to the selection of channels without editing.
        const bool plain = !(event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier));
        const QModelIndex at = indexAt(event->position().toPoint());
        dragRow_ =
            plain && at.isValid() && at.column() == kColNumber && !state_.ChannelEmpty(at.row() + 1)
                ? at.row()
                : -1;
        dragStart_ = event->position().toPoint();
        dragging_ = false;
        if (plain && at.isValid() && InSelectionOfSeveralRows(at.row())) {
            // The edit of this cell reaches every selected channel, so the
            // selection stays.
            selectionModel()->setCurrentIndex(at, QItemSelectionModel::NoUpdate);
            setFocus(Qt::MouseFocusReason);
            event->accept();
        } else {
            QTableWidget::mousePressEvent(event);
        }
        if (plain) emit LeftPressed();
        break;
    }
    case Qt::RightButton:
        // A right press only takes the focus; it neither selects nor edits.
        setFocus(Qt::MouseFocusReason);
        event->accept();
        break;
    default:
        QTableWidget::mousePressEvent(event);
    }
}

bool ChannelGrid::InSelectionOfSeveralRows(int viewRow) const {
    bool inside = false;
    bool others = false;
    for (const QModelIndex& index : selectionModel()->selectedIndexes())
        (index.row() == viewRow ? inside : others) = true;
    return inside && others;
}

void ChannelGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    mousePressEvent(event);
}

void ChannelGrid::mouseMoveEvent(QMouseEvent* event) {
    // The press has already chosen its cell; dragging selects nothing more,
    // but it moves the channels taken by their number.
    if (event->buttons() & Qt::LeftButton) {
        if (dragRow_ >= 0 && !dragging_ &&
            (event->position().toPoint() - dragStart_).manhattanLength() >=
                QApplication::startDragDistance()) {
            dragging_ = true;
            viewport()->setCursor(Qt::ClosedHandCursor);
        }
        event->accept();
        return;
    }
    QTableWidget::mouseMoveEvent(event);
}

void ChannelGrid::mouseReleaseEvent(QMouseEvent* event) {
    QTableWidget::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton) return;
    if (std::exchange(dragging_, false)) {
        viewport()->unsetCursor();
        const int row = rowAt(event->position().toPoint().y());
        if (row >= 0 && row != dragRow_) emit ChannelsDropped(row + 1);
    }
    dragRow_ = -1;
    emit LeftReleased();
}

void ChannelGrid::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        emit EnterPressed();
        return;
    }
    QTableWidget::keyPressEvent(event);
}

} // namespace quelro
