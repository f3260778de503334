// The main window's Edit menu, after the File menu: the history and
// clipboard commands of the channel list, Select all and the reorder
// commands, the same actions (and keys) the grid's context menu holds.
#pragma once

#include <QObject>

#include "i18n/language_window_qt.h"

class QAction;
class QMenu;

namespace quelro {

class ChannelCommands;
class ChannelMoves;
class Form1;

class EditMenu : public QObject, public LanguagePart {
    Q_OBJECT

  public:
    EditMenu(Form1& form, ChannelCommands& commands, ChannelMoves& moves);

    // LanguagePart: the menu belongs to the main window's menu bar, whose
    // conversion to Traditional Chinese covers it.
    void ApplyLanguage(int languageMode) override;
    void Translate() override {}

    QMenu* mnuEdit;
    QAction* selectAllAction;
};

} // namespace quelro
