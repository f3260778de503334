// The test-frequency window (Form4).
#include "windows/form4_test_frequencies.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>

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
    // The editor opens as soon as a cell becomes current, by mouse or keys.
    mfgrid1->setEditTriggers(QAbstractItemView::AllEditTriggers);
    // Tab leaves the grid for the buttons; the arrow keys move in it.
    mfgrid1->setTabKeyNavigation(false);
    mfgrid1->verticalHeader()->hide();
    mfgrid1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    mfgrid1->verticalHeader()->setDefaultSectionSize(kRowHeight);
    mfgrid1->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    mfgrid1->horizontalHeader()->setSectionsClickable(false);
    mfgrid1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    mfgrid1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    for (int c = 0; c < 3; ++c) {
        mfgrid1->setColumnWidth(c, kColumnWidths[static_cast<std::size_t>(c)]);
        mfgrid1->setHorizontalHeaderItem(c, new QTableWidgetItem(FromUtf8(kHeaders[c].zh)));
    }
    const int frame = 2 * mfgrid1->frameWidth();
    mfgrid1->setFixedSize(kColumnWidths[0] + kColumnWidths[1] + kColumnWidths[2] + frame,
                          mfgrid1->horizontalHeader()->sizeHint().height() +
                              kChannels * kRowHeight + frame);

    Command1 = NewButton(kOkCaption, "Command1");
    Command2 = NewButton(kCancelCaption, "Command2");
    QHBoxLayout* buttons = NewButtonRow({Command1, Command2});
    auto* top = new QVBoxLayout(this);
    top->addWidget(mfgrid1, 0, Qt::AlignHCenter);
    top->addLayout(buttons);
    top->setSizeConstraint(QLayout::SetFixedSize);

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
    SetAccessibleName(this, kWindowName, mode);
}

} // namespace quelro
