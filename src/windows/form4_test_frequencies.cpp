// The test-frequency window (Form4).
#include "windows/form4_test_frequencies.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

#include "channels/announcement_qt.h"
#include "codes/conversions.h"
#include "i18n/full_width_digits_qt.h"
#include "windows/accessible_names.h"

namespace quelro {
namespace {

constexpr std::array<Caption, 3> kHeaders{
    {{"频道", "Channel"}, {"接收频率", "RX Frequency"}, {"发射频率", "TX Frequency"}}};
constexpr Caption kGridName{"测试频率表", "Test frequency table"};
// The title stays "测试频率" in every language; a listener hears the window
// by the name of the menu item that opened it.
constexpr Caption kWindowName{"测试频率", "Debug frequency"};

// Column widths 900, 1530 and 1530 twips, rows 300 twips (15 twips a pixel).
constexpr std::array<int, 3> kColumnWidths{60, 102, 102};
constexpr int kRowHeight = 20;
// Room left and right of a text in its cell.
constexpr int kCellPadding = 8;

constexpr double k5kHz = 0.005;
constexpr double k625kHz = 0.00625;

// Opens the editor only where the window allows it and hands every finished
// edit to the window's rules.
class FrequencyCellDelegate : public QStyledItemDelegate {
  public:
    FrequencyCellDelegate(Form4& form, QObject* parent)
        : QStyledItemDelegate(parent), form_(form) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        if (!form_.CanEdit(index.row() + 1, index.column())) return nullptr;
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto* line = qobject_cast<QLineEdit*>(editor)) {
            line->setAlignment(Qt::AlignCenter);
            TakeFullWidthDigits(line);
            // A listener hears which cell the editor edits (a reader meets
            // the new text box through its caret and would not say its name).
            const QString place = index.data(Qt::AccessibleDescriptionRole).toString();
            line->setAccessibleName(place);
            Announce(parent, place);
        }
        return editor;
    }

    void setModelData(QWidget* editor, QAbstractItemModel*,
                      const QModelIndex& index) const override {
        if (auto* line = qobject_cast<QLineEdit*>(editor))
            form_.CellEdited(index.row() + 1, index.column(), line->text());
    }

  protected:
    // Tab in an editor ends the edit and leaves the grid, as Tab on the grid
    // does: the arrow keys move between the cells.
    bool eventFilter(QObject* object, QEvent* event) override {
        auto* editor = qobject_cast<QWidget*>(object);
        if (editor != nullptr && event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
                emit commitData(editor);
                emit closeEditor(editor, NoHint);
                if (auto* grid = qobject_cast<QWidget*>(parent())) {
                    QKeyEvent leave(QEvent::KeyPress, key->key(), key->modifiers());
                    QCoreApplication::sendEvent(grid, &leave);
                }
                return true;
            }
        }
        return QStyledItemDelegate::eventFilter(object, event);
    }

  private:
    Form4& form_;
};

// The value of a typed test frequency the five-decimal "ddd.ddddd" form can
// hold, or nullopt.
std::optional<double> TestFrequencyValue(std::string_view typed) {
    const std::optional<double> value = ParseNumber(typed);
    if (!value || *value < 100 || *value > 999.99999) return std::nullopt;
    return value;
}

} // namespace

std::optional<std::string> TestReceiveAfterEdit(std::string_view typed) {
    if (typed.empty()) return std::string();
    const std::optional<double> v = TestFrequencyValue(typed);
    if (!v) return std::nullopt;
    const double a = FloatRemainder(k5kHz, *v);
    const double b = FloatRemainder(k625kHz, *v);
    return FormatFixed(a >= b ? *v - b : *v - a, 5);
}

std::optional<std::string> TestTransmitAfterEdit(std::string_view typed, std::string_view receive) {
    if (typed.empty()) return std::string(receive);
    const std::optional<double> v = TestFrequencyValue(typed);
    if (!v) return std::nullopt;
    const double raster = FloatRemainder(k625kHz, Val(receive)) == 0 ? k625kHz : k5kHz;
    return FormatFixed(*v - FloatRemainder(raster, *v), 5);
}

Form4::Form4(ProgramState& state, QWidget* owner) : AuxWindow(state, owner, "Form4") {
    // The title is the same in every language.
    setWindowTitle(QStringLiteral("测试频率"));

    mfgrid1 = new QTableWidget(kChannels, 3);
    mfgrid1->setObjectName("mfgrid1");
    mfgrid1->setItemDelegate(new FrequencyCellDelegate(*this, mfgrid1));
    mfgrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    // A click opens the editor at once; from the keyboard the arrows move
    // between the cells (a listener hears each) and Enter or F2 opens it.
    mfgrid1->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    connect(mfgrid1, &QAbstractItemView::clicked, mfgrid1,
            [this](const QModelIndex& index) { mfgrid1->edit(index); });
    mfgrid1->installEventFilter(this);
    // Tab leaves the grid for the buttons; the arrow keys move in it.
    mfgrid1->setTabKeyNavigation(false);
    mfgrid1->verticalHeader()->hide();
    mfgrid1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    // Rows and columns grow with the font, so a large one is not cut.
    const int rowHeight = std::max(kRowHeight, mfgrid1->fontMetrics().height() + 4);
    mfgrid1->verticalHeader()->setDefaultSectionSize(rowHeight);
    mfgrid1->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    mfgrid1->horizontalHeader()->setSectionsClickable(false);
    mfgrid1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    mfgrid1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    int width = 2 * mfgrid1->frameWidth();
    for (int c = 0; c < 3; ++c) {
        const Caption& header = kHeaders[static_cast<std::size_t>(c)];
        const QFontMetrics headerFont = mfgrid1->horizontalHeader()->fontMetrics();
        const int needed =
            std::max({mfgrid1->fontMetrics().horizontalAdvance(c == 0 ? "88" : "888.88888"),
                      headerFont.horizontalAdvance(FromUtf8(header.zh)),
                      headerFont.horizontalAdvance(FromUtf8(header.en))}) +
            kCellPadding;
        mfgrid1->setColumnWidth(c, std::max(kColumnWidths[static_cast<std::size_t>(c)], needed));
        width += mfgrid1->columnWidth(c);
        mfgrid1->setHorizontalHeaderItem(c, new QTableWidgetItem(FromUtf8(header.zh)));
    }
    // The window can be made larger; every row shows at its smallest.
    mfgrid1->setMinimumSize(width, mfgrid1->horizontalHeader()->sizeHint().height() +
                                       kChannels * rowHeight + 2 * mfgrid1->frameWidth());

    Command1 = NewButton(kOkCaption, "Command1");
    Command2 = NewButton(kCancelCaption, "Command2");
    QHBoxLayout* buttons = NewButtonRow({Command1, Command2});
    auto* top = new QVBoxLayout(this);
    top->addWidget(mfgrid1);
    top->addLayout(buttons);

    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { hide(); });
    SetDialogButtons(Command1, Command2);

    Form_Load();
}

void Form4::Form_Load() {
    for (int row = 1; row <= kChannels; ++row) {
        auto* number = new QTableWidgetItem(QStringLiteral("%1").arg(row, 2, 10, QChar('0')));
        number->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        number->setTextAlignment(Qt::AlignCenter);
        mfgrid1->setItem(row - 1, 0, number);
        for (int column : {kRxColumn, kTxColumn}) {
            auto* cell = new QTableWidgetItem;
            cell->setTextAlignment(Qt::AlignCenter);
            mfgrid1->setItem(row - 1, column, cell);
        }
        ShowRow(row);
    }
}

void Form4::ShowRow(int row) {
    if (row < 1 || row > kChannels) return;
    const auto r = static_cast<std::size_t>(row);
    SetCellText(row, kRxColumn, FromUtf8(state_.TestFrequencyTable[r - 1]));
    SetCellText(row, kTxColumn, FromUtf8(state_.TestFrequencyTable[r + 15]));
}

QString Form4::CellText(int row, int column) const {
    const QTableWidgetItem* item = mfgrid1->item(row - 1, column);
    return item != nullptr ? item->text() : QString();
}

void Form4::SetCellText(int row, int column, const QString& text) {
    if (QTableWidgetItem* item = mfgrid1->item(row - 1, column)) item->setText(text);
}

bool Form4::CanEdit(int row, int column) const {
    if (row < 1 || row > kChannels) return false;
    if (column == kRxColumn) return true;
    return column == kTxColumn && !CellText(row, kRxColumn).isEmpty();
}

void Form4::CellEdited(int row, int column, const QString& text) {
    // Stepping through a cell is no edit: a split pair stays split.
    if (!CanEdit(row, column) || text == CellText(row, column)) return;
    const std::string typed = text.toStdString();
    if (column == kRxColumn) {
        const std::optional<std::string> receive = TestReceiveAfterEdit(typed);
        if (!receive) return;
        SetCellText(row, kRxColumn, FromUtf8(*receive));
        SetCellText(row, kTxColumn, FromUtf8(*receive));
    } else {
        const std::string receive = CellText(row, kRxColumn).toStdString();
        if (const auto transmit = TestTransmitAfterEdit(typed, receive))
            SetCellText(row, kTxColumn, FromUtf8(*transmit));
    }
    // The value as stored (on its raster), in the cell's words.
    const QTableWidgetItem* cell = mfgrid1->item(row - 1, column);
    Announce(mfgrid1, QStringLiteral("%1, %2").arg(
                          cell->data(Qt::AccessibleDescriptionRole).toString(), cell->text()));
}

bool Form4::Editing() const {
    for (const QLineEdit* editor : mfgrid1->viewport()->findChildren<QLineEdit*>())
        if (editor->isVisible()) return true;
    return false;
}

bool Form4::eventFilter(QObject* watched, QEvent* event) {
    // Enter on a cell opens its editor, where the cell has one; in the grid
    // it never stands for OK (a listener tabs to the buttons). An Enter an
    // open editor passes on is the editor's.
    if (watched == mfgrid1 && event->type() == QEvent::KeyPress && !Editing()) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (enter && key->modifiers() == Qt::NoModifier) {
            if (CanEdit(mfgrid1->currentRow() + 1, mfgrid1->currentColumn()))
                mfgrid1->edit(mfgrid1->currentIndex());
            return true;
        }
    }
    return AuxWindow::eventFilter(watched, event);
}

void Form4::DescribeCells() {
    // Each cell tells its column and its row ("RX Frequency, 03"), in the
    // language the headers show.
    for (int row = 1; row <= kChannels; ++row)
        for (int column = 0; column < 3; ++column)
            if (QTableWidgetItem* item = mfgrid1->item(row - 1, column))
                item->setData(Qt::AccessibleDescriptionRole,
                              QStringLiteral("%1, %2").arg(
                                  mfgrid1->horizontalHeaderItem(column)->text(), CellText(row, 0)));
}

void Form4::Command1_Click() {
    for (int row = 1; row <= kChannels; ++row) {
        const auto r = static_cast<std::size_t>(row);
        state_.TestFrequencyTable[r - 1] = CellText(row, kRxColumn).toStdString();
        state_.TestFrequencyTable[r + 15] = CellText(row, kTxColumn).toStdString();
    }
    hide();
}

void Form4::ApplyLanguage(int mode) {
    for (int c = 0; c < 3; ++c)
        if (auto text = CaptionFor(kHeaders[static_cast<std::size_t>(c)], mode))
            mfgrid1->horizontalHeaderItem(c)->setText(FromUtf8(*text));
    SetCaption(Command1, kOkCaption, mode);
    SetCaption(Command2, kCancelCaption, mode);
    SetAccessibleName(mfgrid1, kGridName, mode);
    DescribeCells();
    SetAccessibleName(this, kWindowName, mode);
}

} // namespace quelro
