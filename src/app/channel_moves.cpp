// The reorder commands of the main window, over the core's channel moves.
#include "app/channel_moves.h"

#include <QAction>
#include <QItemSelection>
#include <QMenu>

#include <algorithm>
#include <set>

#include "app/channel_commands.h"
#include "app/form1.h"
#include "channels/channel_grid_qt.h"
#include "channels/channel_moves.h"
#include "i18n/local_msgbox_qt.h"

namespace quelro {
namespace {

namespace caption {
constexpr Caption kMoveUp{"上移(&M)", "Move up(&M)"};
constexpr Caption kMoveDown{"下移(&N)", "Move down(&N)"};
constexpr Caption kInsert{"插入空信道(&I)", "Insert empty channel(&I)"};
constexpr Caption kDeleteMoveUp{"删除并上移(&G)", "Delete and move up(&G)"};
constexpr Caption kSort{"按接收频率排序(&S)", "Sort by RX frequency(&S)"};
constexpr Caption kLastInUse{"信道16不是空的，不能插入空信道。",
                             "Channel 16 is not empty, so no empty channel can be inserted."};
} // namespace caption

QString Text(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

} // namespace

ChannelMoves::ChannelMoves(ProgramState& state, Form1& form, ChannelCommands& commands)
    : QObject(&form), state_(state), form_(form), commands_(commands) {
    setObjectName("ChannelMoves");
    ChannelGrid* grid = form.Grid1;
    auto command = [&](const char* name, QKeySequence key, void (ChannelMoves::*run)()) {
        auto* a = new QAction(this);
        a->setObjectName(name);
        a->setShortcut(key);
        // The grid's keys, as the clipboard's are.
        a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        grid->addAction(a);
        connect(a, &QAction::triggered, this, run);
        return a;
    };
    moveUpAction = command("mnuMoveUp", QKeySequence(Qt::ALT | Qt::Key_Up), &ChannelMoves::MoveUp);
    moveDownAction =
        command("mnuMoveDown", QKeySequence(Qt::ALT | Qt::Key_Down), &ChannelMoves::MoveDown);
    // Shift+Delete and Ctrl+Insert are cut and copy already.
    insertAction =
        command("mnuInsertEmpty", QKeySequence(Qt::Key_Insert), &ChannelMoves::InsertEmpty);
    deleteMoveUpAction = command("mnuDeleteMoveUp", QKeySequence(Qt::CTRL | Qt::Key_Delete),
                                 &ChannelMoves::DeleteAndMoveUp);
    sortAction = command("mnuSortRx", QKeySequence(), &ChannelMoves::SortByRxFrequency);

    connect(grid, &ChannelGrid::ChannelsDropped, this, &ChannelMoves::DropOn);

    commands.contextMenu->addSeparator();
    commands.contextMenu->addActions(
        {moveUpAction, moveDownAction, insertAction, deleteMoveUpAction, sortAction});

    auto lock = [this](bool locked) {
        for (QAction* a :
             {moveUpAction, moveDownAction, insertAction, deleteMoveUpAction, sortAction})
            a->setEnabled(!locked);
    };
    connect(&form, &Form1::LockChanged, this, lock);
    lock(form.Locked());
}

void ChannelMoves::ApplyLanguage(int languageMode) {
    if (languageMode != kSimplified && languageMode != kEnglish) return;
    auto t = [languageMode](const Caption& c) { return Text(Localize(c, languageMode)); };
    moveUpAction->setText(t(caption::kMoveUp));
    moveDownAction->setText(t(caption::kMoveDown));
    insertAction->setText(t(caption::kInsert));
    deleteMoveUpAction->setText(t(caption::kDeleteMoveUp));
    sortAction->setText(t(caption::kSort));
}

std::vector<int> ChannelMoves::SelectedRows() const {
    std::set<int> rows;
    for (const QModelIndex& index : form_.Grid1->selectionModel()->selectedIndexes())
        rows.insert(index.row() + 1);
    if (rows.empty() && form_.Grid1->currentRow() >= 0) rows.insert(form_.Grid1->SelectedRow());
    return {rows.begin(), rows.end()};
}

void ChannelMoves::MoveUp() {
    Move(-1);
}

void ChannelMoves::MoveDown() {
    Move(1);
}

void ChannelMoves::Move(int delta) {
    if (!form_.ReadyToChange()) return;
    std::vector<int> rows = SelectedRows();
    if (MoveChannels(state_, rows, delta) == MoveOutcome::Moved) Done(rows);
}

void ChannelMoves::DropOn(int row) {
    if (!form_.ReadyToChange()) return;
    std::vector<int> rows = SelectedRows();
    if (MoveChannelsTo(state_, rows, row) == MoveOutcome::Moved) Done(rows);
}

void ChannelMoves::InsertEmpty() {
    if (!form_.ReadyToChange()) return;
    const int row = form_.Grid1->SelectedRow();
    switch (InsertEmptyChannel(state_, row)) {
    case MoveOutcome::Moved:
        Done({row});
        break;
    case MoveOutcome::LastInUse:
        LocalMsgBox(Text(Localize(caption::kLastInUse, form_.LanguageMode())), 48, QString(),
                    form_.LanguageMode());
        break;
    case MoveOutcome::Unchanged:
        break;
    }
}

void ChannelMoves::DeleteAndMoveUp() {
    if (!form_.ReadyToChange()) return;
    const std::vector<int> rows = SelectedRows();
    if (quelro::DeleteAndMoveUp(state_, rows) == MoveOutcome::Moved) Done({rows.front()});
}

void ChannelMoves::SortByRxFrequency() {
    if (!form_.ReadyToChange()) return;
    if (quelro::SortByRxFrequency(state_) == MoveOutcome::Moved) Done({});
}

void ChannelMoves::Done(const std::vector<int>& rows) {
    ChannelGrid* grid = form_.Grid1;
    grid->ShowAll();
    commands_.RecordChange();
    if (rows.empty()) return;
    // The moved channels stay selected, so that the key can be pressed again.
    const int column = std::max(grid->SelectedColumn(), 0);
    QItemSelection selection;
    for (int row : rows)
        selection.select(grid->model()->index(row - 1, 0),
                         grid->model()->index(row - 1, grid->columnCount() - 1));
    grid->setCurrentCell(rows.front() - 1, column, QItemSelectionModel::NoUpdate);
    grid->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
}

} // namespace quelro
