// The channel grid's in-place editors: laid over the selected cell on an
// armed click, committing into ProgramState on a pick or when they lose the
// focus, and always hidden again at the end of their handler.
#include "channels/cell_editors_qt.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLineEdit>

#include <algorithm>
#include <set>
#include <utility>

#include "channels/announcement_qt.h"
#include "channels/cell_edit.h"
#include "channels/channel_grid_qt.h"
#include "codes/tone_codes.h"
#include "i18n/captions.h"
#include "i18n/full_width_digits_qt.h"
#include "i18n/local_msgbox_qt.h"

namespace quelro {
namespace {

constexpr Caption kKeptRows{"以下信道未修改：", "These channels were not changed: "};

QString Text(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

// Focus lost to a drop-down list of the editor itself, or to a menu, is no
// end of the edit. (Where popups are windows of their own, opening one
// deactivates the main window instead of naming the popup as the reason.)
bool EndsEdit(const QEvent* event) {
    return event->type() == QEvent::FocusOut &&
           static_cast<const QFocusEvent*>(event)->reason() != Qt::PopupFocusReason &&
           QApplication::activePopupWidget() == nullptr;
}

// Characters typed into an editor: control keys, shortcuts and keys without
// text (arrows, Delete) are not characters and pass unfiltered.
bool IsTypedCharacter(const QKeyEvent& key, char32_t& character) {
    const QString text = key.text();
    if (text.isEmpty() || (key.modifiers() & Qt::ControlModifier)) return false;
    character = text.toUcs4().value(0);
    return character >= 0x20 && character != 0x7F;
}

} // namespace

CellEditors::CellEditors(ProgramState& state, const int& language, ChannelGrid* grid)
    : QObject(grid), state_(state), language_(language), grid_(grid) {
    QWidget* host = grid->viewport();

    text1_ = new QLineEdit(host);
    text1_->setObjectName("Text1");
    text1_->setAlignment(Qt::AlignCenter);
    text1_->hide();
    text1_->installEventFilter(this);
    TakeFullWidthDigits(text1_);

    combo8_ = new QComboBox(host);
    combo8_->setObjectName("Combo8");
    combo8_->setEditable(true);
    combo8_->setInsertPolicy(QComboBox::NoInsert);
    // Typed tones are taken as typed: no completion from the list.
    combo8_->setCompleter(nullptr);
    combo8_->setMaxVisibleItems(16);
    // One insertion of the whole list: item by item costs the list a
    // notification and a size update each time.
    QStringList tones;
    tones.reserve(kToneListSize);
    for (int i = 0; i < kToneListSize; ++i)
        tones.append(QString::fromStdString(ToneItem(i, kSimplified)));
    combo8_->addItems(tones);
    combo8_->hide();
    combo8_->installEventFilter(this);
    combo8_->view()->installEventFilter(this);
    TakeFullWidthDigits(combo8_);
    TakeFullWidthDigits(combo8_->view());
    connect(combo8_, &QComboBox::activated, this, &CellEditors::Combo8_Click);

    for (int column = kColPower; column <= kColScan; ++column) {
        auto* list = new QComboBox(host);
        list->setObjectName(QString("Combo5(%1)").arg(column));
        for (const Caption& item : ColumnItems(column)) list->addItem(Text(item.zh));
        list->hide();
        list->installEventFilter(this);
        list->view()->installEventFilter(this);
        connect(list, &QComboBox::activated, this,
                [this, column](int position) { Combo5_Click(column, position); });
        combo5_[column] = list;
    }

    connect(grid, &ChannelGrid::LeftPressed, this, &CellEditors::Grid1_MouseDown);
    connect(grid, &ChannelGrid::LeftReleased, this, &CellEditors::Grid1_MouseUp);
    connect(grid, &ChannelGrid::EnterPressed, this, &CellEditors::Grid1_KeyPressEnter);
}

void CellEditors::ApplyLanguage(int languageMode) {
    if (languageMode != kSimplified && languageMode != kEnglish) return;
    combo8_->setItemText(0, Text(languageMode == kEnglish ? kToneOff.en : kToneOff.zh));
    for (int column = kColPower; column <= kColScan; ++column) {
        const auto& items = ColumnItems(column);
        for (int i = 0; i < static_cast<int>(items.size()); ++i)
            combo5_[column]->setItemText(
                i, Text(languageMode == kEnglish ? items[i].en : items[i].zh));
    }
}

void CellEditors::Grid1_MouseDown() {
    // The press is the click: the cell it selected is edited at once.
    editArmed_ = true;
    mouseDown_ = true;
    Grid1_Click();
}

void CellEditors::Grid1_MouseUp() {
    mouseDown_ = false;
    QComboBox* list = std::exchange(listOnMouseUp_, nullptr);
    if (list != nullptr && list->isVisible() && list->hasFocus()) ShowList(list);
}

void CellEditors::OpenList(QComboBox* list) {
    listOnMouseUp_ = nullptr;
    if (mouseDown_)
        listOnMouseUp_ = list;
    else
        ShowList(list);
}

void CellEditors::ShowList(QComboBox* list) {
    list->showPopup();
    // The first opening of a list drops the edit field's selection; a tone
    // typed then must replace the text shown, not be appended to it.
    if (QLineEdit* edit = list->lineEdit()) edit->selectAll();
}

void CellEditors::Grid1_KeyPressEnter() {
    editArmed_ = true;
    Grid1_Click();
}

void CellEditors::Grid1_Click() {
    if (!editArmed_) return;
    editArmed_ = false;
    const int row = grid_->SelectedRow();
    if (row < 1 || row > kChannels || grid_->SelectedColumn() < 0) return;
    const int column = EditColumn(state_, row, grid_->SelectedColumn());
    if (column != grid_->SelectedColumn()) grid_->SelectCell(row, column);
    editRow_ = row;
    editCol_ = column;
    editRows_ = BulkEditRows(state_, row, SelectedRows());

    const QRect cell = grid_->CellRect(row, column);
    const QString text = QString::fromStdString(state_.CellText(row, column, language_));
    // A listener hears which cell the editor edits, in the window's language.
    const QString place = grid_->CellPlace(row, column);
    switch (EditorForColumn(column)) {
    case EditorKind::Frequency:
        text1_->setGeometry(cell);
        text1_->setAccessibleName(place);
        text1_->setText(text);
        text1_->selectAll();
        text1_->show();
        text1_->raise();
        text1_->setFocus(Qt::OtherFocusReason);
        // The text box meets a reader through its caret before its focus,
        // and a reader then says its text but not its name.
        Announce(text1_, place);
        break;
    case EditorKind::Tone: {
        combo8_->setGeometry(cell.left(), cell.top(), cell.width(), combo8_->sizeHint().height());
        combo8_->setAccessibleName(place);
        const int position = combo8_->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (position >= 0) combo8_->setCurrentIndex(position);
        combo8_->setEditText(text);
        combo8_->lineEdit()->selectAll();
        combo8_->show();
        combo8_->raise();
        combo8_->setFocus(Qt::OtherFocusReason);
        OpenList(combo8_);
        break;
    }
    case EditorKind::List: {
        QComboBox* list = combo5_[column];
        list->setGeometry(cell.left(), cell.top(), cell.width(), list->sizeHint().height());
        list->setAccessibleName(place);
        list->setCurrentIndex(ChoiceIndex(*state_.Channel(row), column));
        list->show();
        list->raise();
        list->setFocus(Qt::OtherFocusReason);
        OpenList(list);
        break;
    }
    case EditorKind::None:
        break;
    }
}

bool CellEditors::EditKeyPress(const QKeyEvent& key) {
    if (key.matches(QKeySequence::Paste) && text1_->isVisible() && state_.ChannelEmpty(editRow_)) {
        // One frequency goes into the editor; rows of a list are channels.
        const QString text = QApplication::clipboard()->text().trimmed();
        if (text.contains('\n') || text.contains('\t')) {
            text1_->clear();
            grid_->setFocus(Qt::OtherFocusReason);
            emit ChannelPasteRequested();
            return true;
        }
    }
    if (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter) {
        // Back to the grid, which ends the edit through the focus loss.
        grid_->setFocus(Qt::OtherFocusReason);
        return true;
    }
    char32_t character = 0;
    if (!IsTypedCharacter(key, character)) return false;
    return !AcceptedEditCharacter(character);
}

bool CellEditors::IsEditor(const QObject* object) const {
    if (object == text1_ || object == combo8_ || object == combo8_->view()) return true;
    return std::any_of(combo5_.begin() + kColPower, combo5_.end(), [object](QComboBox* list) {
        return object == list || object == list->view();
    });
}

bool CellEditors::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto& key = *static_cast<QKeyEvent*>(event);
        if (key.key() == Qt::Key_Escape && key.modifiers() == Qt::NoModifier && IsEditor(watched)) {
            // Out of the editor, open list and all, with the cell unchanged.
            Cancel();
            return true;
        }
        if (watched == text1_ || watched == combo8_) return EditKeyPress(key);
        if (watched == combo8_->view()) {
            // Typing while the tone list is open goes to the edit field; the
            // list closes so that Enter commits the typed tone.
            char32_t character = 0;
            if (!IsTypedCharacter(key, character)) return false;
            if (AcceptedEditCharacter(character)) {
                combo8_->hidePopup();
                QKeyEvent copy(key.type(), key.key(), key.modifiers(), key.text());
                QCoreApplication::sendEvent(combo8_, &copy);
            }
            return true;
        }
        return false;
    }
    if (!EndsEdit(event)) return false;
    if (watched == text1_) {
        Text1_LostFocus();
    } else if (watched == combo8_) {
        Combo8_LostFocus();
    } else {
        for (int column = kColPower; column <= kColScan; ++column)
            if (watched == combo5_[column]) Combo5_LostFocus(column);
    }
    return false;
}

void CellEditors::Cancel() {
    // An open list holds the focus in a popup window of its own.
    const bool hadFocus = IsEditor(QApplication::focusWidget());
    committing_ = true;
    combo8_->hidePopup();
    text1_->hide();
    combo8_->hide();
    for (int column = kColPower; column <= kColScan; ++column) {
        combo5_[column]->hidePopup();
        combo5_[column]->hide();
    }
    committing_ = false;
    listOnMouseUp_ = nullptr;
    if (hadFocus) grid_->setFocus(Qt::OtherFocusReason);
}

void CellEditors::Commit() {
    // The focus loss commits, as after Enter; while a menu or a list is open
    // it does not, and the handlers run here instead.
    if (IsEditor(QApplication::focusWidget())) grid_->setFocus(Qt::OtherFocusReason);
    if (!text1_->isHidden()) Text1_LostFocus();
    if (!combo8_->isHidden()) Combo8_LostFocus();
    Cancel();
}

void CellEditors::Text1_LostFocus() {
    if (committing_) return;
    committing_ = true;
    const std::string typed = text1_->text().toStdString();
    std::vector<int> refused;
    for (int row : editRows_)
        if (CommitFrequency(state_, row, editCol_, typed) == FrequencyOutcome::OutsideBand)
            refused.push_back(row);
    if (!refused.empty()) {
        ShowRefused(refused);
        grid_->setFocus(Qt::OtherFocusReason);
    }
    ShowCommitted();
    text1_->hide();
    committing_ = false;
}

void CellEditors::Combo8_Click(int position) {
    if (combo8_->isHidden()) return;
    for (int row : editRows_) PickTone(state_, row, editCol_, position);
    ShowCommitted();
    combo8_->hide();
    grid_->setFocus(Qt::OtherFocusReason);
}

void CellEditors::Combo8_LostFocus() {
    if (committing_) return;
    committing_ = true;
    const QString text = combo8_->currentText();
    const int position = combo8_->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    for (int row : editRows_) CommitTone(state_, row, editCol_, text.toStdString(), position);
    ShowCommitted();
    combo8_->hide();
    committing_ = false;
}

void CellEditors::Combo5_Click(int column, int position) {
    QComboBox* list = combo5_[column];
    if (list->isHidden()) return;
    for (int row : editRows_) PickListItem(state_, row, editCol_, position);
    ShowCommitted();
    list->hide();
    grid_->setFocus(Qt::OtherFocusReason);
}

void CellEditors::Combo5_LostFocus(int column) {
    combo5_[column]->hide();
}

void CellEditors::ShowCommitted() {
    for (int row : editRows_) grid_->ShowRow(row);
    // The value as stored (a frequency on its raster), where the focus is
    // already back on the grid.
    Announce(grid_, grid_->CellPlaceAndText(editRow_, editCol_));
    emit Committed();
}

std::vector<int> CellEditors::SelectedRows() const {
    std::set<int> rows;
    for (const QModelIndex& index : grid_->selectionModel()->selectedIndexes())
        rows.insert(index.row() + 1);
    return {rows.begin(), rows.end()};
}

void CellEditors::ShowRefused(const std::vector<int>& rows) const {
    const int language = language_;
    QString text = QString::fromStdString(Localize(msg::kBeyondBand.text, language));
    if (editRows_.size() > 1) {
        QStringList numbers;
        for (int row : rows) numbers << QString::fromStdString(ChannelNumberText(row));
        text += "\n" + QString::fromStdString(Localize(kKeptRows, language)) + numbers.join(", ");
    }
    LocalMsgBox(text, Win32Style(msg::kBeyondBand.style),
                QString::fromStdString(Localize(msg::kBeyondBand.title, language)), language);
}

} // namespace quelro
