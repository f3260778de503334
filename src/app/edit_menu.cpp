// The Edit menu of the main window.
#include "app/edit_menu.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "app/channel_commands.h"
#include "app/channel_moves.h"
#include "app/form1.h"
#include "channels/channel_grid_qt.h"

namespace quelro {
namespace {

namespace caption {
constexpr Caption kEdit{"编辑(&E)", "Edit(&E)"};
constexpr Caption kSelectAll{"全选(&A)", "Select all(&A)"};
} // namespace caption

} // namespace

EditMenu::EditMenu(Form1& form, ChannelCommands& commands, ChannelMoves& moves) : QObject(&form) {
    setObjectName("EditMenu");
    QMenuBar* bar = form.menuBar();
    mnuEdit = new QMenu(bar);
    mnuEdit->setObjectName("mnuEdit");
    bar->insertMenu(form.mnupro->menuAction(), mnuEdit);

    selectAllAction = new QAction(mnuEdit);
    selectAllAction->setObjectName("mnuSelectAll");
    selectAllAction->setShortcut(QKeySequence::SelectAll);
    selectAllAction->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    form.Grid1->addAction(selectAllAction);
    connect(selectAllAction, &QAction::triggered, form.Grid1, &ChannelGrid::selectAll);

    mnuEdit->addActions({commands.undoAction, commands.redoAction});
    mnuEdit->addSeparator();
    mnuEdit->addActions({commands.cutAction, commands.copyAction, commands.pasteAction,
                         commands.deleteAction, selectAllAction});
    mnuEdit->addSeparator();
    mnuEdit->addActions({moves.moveUpAction, moves.moveDownAction, moves.insertAction,
                         moves.deleteMoveUpAction, moves.sortAction});

    // The context menu holds Select all too, beside Delete.
    QMenu* context = commands.contextMenu;
    const QList<QAction*> items = context->actions();
    context->insertAction(items.value(items.indexOf(commands.deleteAction) + 1), selectAllAction);
}

void EditMenu::ApplyLanguage(int languageMode) {
    if (languageMode != kSimplified && languageMode != kEnglish) return;
    auto t = [languageMode](const Caption& c) {
        return QString::fromStdString(Localize(c, languageMode));
    };
    mnuEdit->setTitle(t(caption::kEdit));
    selectAllAction->setText(t(caption::kSelectAll));
}

} // namespace quelro
