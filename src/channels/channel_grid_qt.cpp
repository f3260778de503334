// Grid1: the channel table's view, shaped from the twip sizes of the
// programming sheet (15 twips to the pixel).
#include "channels/channel_grid_qt.h"

#include <QAccessible>
#include <QApplication>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMouseEvent>

#include <algorithm>
#include <array>
#include <cmath>
#include <string_view>
#include <utility>
#include <vector>

#include "channels/channel_grid_accessible_qt.h"
#include "i18n/captions.h"

namespace quelro {
namespace {

constexpr int kTwipsPerPixel = 15;
constexpr std::array<int, kGridCols> kColumnTwips{500, 1330, 1000, 1330, 1000, 800, 850, 1000, 900};
constexpr int kRowTwips = 300;
// Room left and right of a header text so that it is never cut.
constexpr int kHeaderPadding = 12;

constexpr Caption kTableName{"信道表", "Channel table"};
constexpr Caption kEmptyCell{"空", "empty"};
constexpr Caption kChannelPlace{"信道 %1", "channel %1"};
constexpr Caption kCellPlace{"%1，%2", "%1, %2"};
// Both tone columns are captioned alike; a listener, who cannot see which
// frequency a tone stands beside, hears which one it is.
constexpr Caption kRxToneName{"接收亚音频", "RX QT/DQT"};
constexpr Caption kTxToneName{"发射亚音频", "TX QT/DQT"};

QString Localized(const Caption& caption, int languageMode) {
    return QString::fromStdString(Localize(caption, languageMode));
}

} // namespace

ChannelGrid::ChannelGrid(const ProgramState& state, const int& language, QWidget* parent)
    : QTableWidget(kChannels, kGridCols, parent), state_(state), language_(language),
      self_(std::make_shared<ChannelGrid*>(this)) {
    grid_accessible::InstallFactory();
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

ChannelGrid::~ChannelGrid() {
    *self_ = nullptr;
}

int ChannelGrid::ColumnWidthNeeded(int column) const {
    std::vector<std::string_view> texts{kGridHeaders[column].zh, kGridHeaders[column].en};
    std::vector<std::string_view> cells;
    switch (column) {
    case kColNumber:
        cells = {"16"};
        break;
    case kColRxTone:
    case kColTxTone:
        cells = {"D754I", "254.1", kToneOff.zh, kToneOff.en};
        break;
    case kColRxFreq:
    case kColTxFreq:
        cells = {"888.88888"};
        break;
    default:
        for (const Caption& item : ColumnItems(column))
            cells.insert(cells.end(), {item.zh, item.en});
    }
    auto widest = [](const QFontMetrics& metrics, const std::vector<std::string_view>& list) {
        int width = 0;
        for (std::string_view text : list)
            width = std::max(width, metrics.horizontalAdvance(QString::fromUtf8(
                                        text.data(), static_cast<qsizetype>(text.size()))));
        return width;
    };
    return std::max({kColumnTwips[column] / kTwipsPerPixel,
                     widest(horizontalHeader()->fontMetrics(), texts) + kHeaderPadding,
                     widest(fontMetrics(), cells) + kHeaderPadding});
}

void ChannelGrid::Shape() {
    for (int c = 0; c < kGridCols; ++c) {
        setColumnWidth(c, ColumnWidthNeeded(c));
        horizontalHeaderItem(c)->setTextAlignment(Qt::AlignCenter);
    }
    const int rowHeight = std::max(kRowTwips / kTwipsPerPixel, fontMetrics().height() + 4);
    const QColor stripe = StripeColour(palette());
    for (int r = 0; r < kChannels; ++r) {
        setRowHeight(r, rowHeight);
        const bool even = (r + 1) % 2 == 0;
        for (int c = 0; c < kGridCols; ++c) {
            item(r, c)->setTextAlignment(Qt::AlignCenter);
            if (even) item(r, c)->setBackground(stripe);
        }
    }
}

namespace {

double Luminance(const QColor& colour) {
    auto linear = [](double channel) {
        return channel <= 0.03928 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
    };
    const QColor rgb = colour.toRgb();
    return 0.2126 * linear(rgb.redF()) + 0.7152 * linear(rgb.greenF()) +
           0.0722 * linear(rgb.blueF());
}

QColor Mix(const QColor& a, const QColor& b, double share) {
    const QColor x = a.toRgb();
    const QColor y = b.toRgb();
    return QColor::fromRgbF(static_cast<float>(x.redF() * (1 - share) + y.redF() * share),
                            static_cast<float>(x.greenF() * (1 - share) + y.greenF() * share),
                            static_cast<float>(x.blueF() * (1 - share) + y.blueF() * share));
}

constexpr double kReadable = 4.5;

} // namespace

double ChannelGrid::Contrast(const QColor& a, const QColor& b) {
    const double la = Luminance(a);
    const double lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor ChannelGrid::StripeColour(const QPalette& palette) {
    const QColor lilac(192, 192, 255);
    const QColor text = palette.color(QPalette::Active, QPalette::Text);
    const QColor base = palette.color(QPalette::Active, QPalette::Base);
    if (Contrast(lilac, text) >= kReadable) return lilac;
    // A step from the base towards the highlight, smaller until the text
    // reads on it; the base itself at worst.
    const QColor highlight = palette.color(QPalette::Active, QPalette::Highlight);
    for (double share : {0.25, 0.15, 0.08}) {
        const QColor stripe = Mix(base, highlight, share);
        if (Contrast(stripe, text) >= kReadable) return stripe;
    }
    return base;
}

void ChannelGrid::changeEvent(QEvent* event) {
    QTableWidget::changeEvent(event);
    const bool looks =
        event->type() == QEvent::PaletteChange || event->type() == QEvent::FontChange;
    if (looks && item(0, 0) != nullptr) Shape();
}

void ChannelGrid::SetHeaderText(int column, const QString& text) {
    horizontalHeaderItem(column)->setText(text);
}

QString ChannelGrid::HeaderText(int column) const {
    return horizontalHeaderItem(column)->text();
}

void ChannelGrid::ShowCell(int row, int column) {
    item(row - 1, column)->setText(QString::fromStdString(state_.CellText(row, column, language_)));
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

QString ChannelGrid::TableName() const {
    return Localized(kTableName, language_);
}

QString ChannelGrid::CellName(int row, int column) const {
    const QString text = CellText(row, column);
    return text.isEmpty() ? Localized(kEmptyCell, language_) : text;
}

QString ChannelGrid::ChannelPlace(int row) const {
    return Localized(kChannelPlace, language_).arg(row, 2, 10, QLatin1Char('0'));
}

QString ChannelGrid::ColumnName(int column) const {
    if (column == kColRxTone) return Localized(kRxToneName, language_);
    if (column == kColTxTone) return Localized(kTxToneName, language_);
    return HeaderText(column);
}

QString ChannelGrid::CellPlace(int row, int column) const {
    if (column == kColNumber) return ChannelPlace(row);
    return Localized(kCellPlace, language_).arg(ColumnName(column), ChannelPlace(row));
}

QString ChannelGrid::CellPlaceAndText(int row, int column) const {
    return Localized(kCellPlace, language_).arg(CellPlace(row, column), CellName(row, column));
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
    const int key = event->key();
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    // Keys an open cell editor leaves unused come here too; F2 and the menu
    // keys are the grid's only while it has the focus itself.
    const bool own = hasFocus();
    if (key == Qt::Key_Return || key == Qt::Key_Enter ||
        (own && key == Qt::Key_F2 && modifiers == Qt::NoModifier)) {
        event->accept();
        emit EnterPressed();
        return;
    }
    if (own && modifiers == Qt::ShiftModifier && ExtendSelection(key)) {
        event->accept();
        return;
    }
    if (own && ((key == Qt::Key_Menu && modifiers == Qt::NoModifier) ||
                (key == Qt::Key_F10 && modifiers == Qt::ShiftModifier))) {
        // The keyboard's context menu opens over the current cell. (Where
        // the platform follows the Menu key with a context-menu event of its
        // own, that event reaches the menu already open, not the grid.)
        event->accept();
        if (contextMenuPolicy() == Qt::CustomContextMenu) {
            const QModelIndex current = currentIndex();
            emit customContextMenuRequested(current.isValid() ? visualRect(current).center()
                                                              : QPoint(0, 0));
        }
        return;
    }
    QTableWidget::keyPressEvent(event);
}

bool ChannelGrid::ExtendSelection(int key) {
    CursorAction action{};
    switch (key) {
    case Qt::Key_Up:
        action = MoveUp;
        break;
    case Qt::Key_Down:
        action = MoveDown;
        break;
    case Qt::Key_Left:
        action = MoveLeft;
        break;
    case Qt::Key_Right:
        action = MoveRight;
        break;
    case Qt::Key_Home:
        action = MoveHome;
        break;
    case Qt::Key_End:
        action = MoveEnd;
        break;
    case Qt::Key_PageUp:
        action = MovePageUp;
        break;
    case Qt::Key_PageDown:
        action = MovePageDown;
        break;
    default:
        return false;
    }
    const QModelIndex to = moveCursor(action, Qt::ShiftModifier);
    if (!to.isValid()) return true;
    const QModelIndex from = anchor_.isValid() ? QModelIndex(anchor_) : to;
    extending_ = true;
    selectionModel()->setCurrentIndex(to, QItemSelectionModel::NoUpdate);
    extending_ = false;
    // Like a Shift move of the view itself, the range replaces only the one
    // it extends: cells added with Ctrl stay selected.
    const QModelIndex topLeft =
        model()->index(std::min(from.row(), to.row()), std::min(from.column(), to.column()));
    const QModelIndex bottomRight =
        model()->index(std::max(from.row(), to.row()), std::max(from.column(), to.column()));
    selectionModel()->select(QItemSelection(topLeft, bottomRight),
                             QItemSelectionModel::SelectCurrent);
    return true;
}

QItemSelectionModel::SelectionFlags ChannelGrid::selectionCommand(const QModelIndex& index,
                                                                  const QEvent* event) const {
    if (event != nullptr && event->type() == QEvent::KeyPress) {
        const auto* press = static_cast<const QKeyEvent*>(event);
        const Qt::KeyboardModifiers modifiers = press->modifiers() & ~Qt::KeypadModifier;
        switch (press->key()) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Home:
        case Qt::Key_End:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            if (modifiers == Qt::ControlModifier) return QItemSelectionModel::ClearAndSelect;
            break;
        default:
            break;
        }
    }
    return QTableWidget::selectionCommand(index, event);
}

void ChannelGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    // The table view's own announcement is skipped: this one names the same
    // child, and goes only where the focus is.
    QAbstractItemView::currentChanged(current, previous);
    if (!extending_) anchor_ = current;
    if (!current.isValid() || !hasFocus()) return;
    QAccessibleEvent event(this, QAccessible::Focus);
    event.setChild(grid_accessible::CellChild(current.row(), current.column()));
    grid_accessible::Send(&event);
}

} // namespace quelro
