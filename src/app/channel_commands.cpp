// The channel-list commands of the main window, over the core's CSV form and
// undo history.
#include "app/channel_commands.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMimeData>
#include <QSignalBlocker>

#include <algorithm>
#include <set>

#include "app/form1.h"
#include "channels/announcement_qt.h"
#include "channels/cell_editors_qt.h"
#include "channels/channel_grid_qt.h"
#include "codes/bands.h"
#include "files/clipboard_form.h"
#include "files/csv_form.h"
#include "files/data_file.h"
#include "i18n/local_msgbox_qt.h"
#include "i18n/unicode_path_qt.h"
#include "image/memory_image.h"

namespace quelro {
namespace {

namespace caption {
constexpr Caption kImportCsv{"导入CSV...", "Import CSV..."};
constexpr Caption kExportCsv{"导出CSV...", "Export CSV..."};
constexpr Caption kCopy{"复制(&C)", "Copy(&C)"};
constexpr Caption kCut{"剪切(&T)", "Cut(&T)"};
constexpr Caption kPaste{"粘贴(&P)", "Paste(&P)"};
constexpr Caption kDelete{"删除(&D)", "Delete(&D)"};
constexpr Caption kUndo{"撤销(&U)", "Undo(&U)"};
constexpr Caption kRedo{"重做(&R)", "Redo(&R)"};
constexpr Caption kUnsaved{"数据已修改，尚未保存或写入对讲机。是否保存？",
                           "The data has changed and was neither saved nor written to the radio. "
                           "Save it?"};
constexpr Caption kSave{"保存", "Save"};
constexpr Caption kDiscard{"不保存", "Discard"};
constexpr Caption kCancel{"取消", "Cancel"};
constexpr Caption kImportTitle{"导入CSV", "Import CSV"};
constexpr Caption kExportTitle{"导出CSV", "Export CSV"};
constexpr Caption kPasteTitle{"粘贴", "Paste"};
constexpr Caption kBandIs{"频段：", "Band: "};
constexpr Caption kImported{"导入的信道数：", "Channels imported: "};
constexpr Caption kCannotRead{"无法读取文件：", "The file cannot be read: "};
constexpr Caption kTooLarge{"内容太大，不是信道列表。", "This is too large to be a channel list."};
constexpr Caption kMoreLeftOut{"……另有%1行未导入", "... and %1 more rows left out"};
constexpr Caption kCannotWrite{"文件保存失败：", "The file could not be saved: "};
// What a listener hears after a command changed channels.
constexpr Caption kChannelDeleted{"信道 %1 已删除", "channel %1 deleted"};
constexpr Caption kChannelsDeleted{"信道 %1 已删除", "channels %1 deleted"};
constexpr Caption kChannelsPasted{"已粘贴 %1 个信道", "%1 channels pasted"};
constexpr Caption kUndone{"已撤销", "undone"};
constexpr Caption kRedone{"已重做", "redone"};
} // namespace caption

QString Text(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

QString CsvDialog(QWidget* owner, bool save) {
    const QString filter = "CSV (*.csv *.CSV)";
    return save ? QFileDialog::getSaveFileName(owner, QString(), QString(), filter, nullptr,
                                               QFileDialog::DontConfirmOverwrite)
                : QFileDialog::getOpenFileName(owner, QString(), QString(), filter);
}

// The rows left out and the values taken otherwise, one line each; a box
// shows the first few and counts the rest.
QString LeftOutLines(const std::vector<CsvLeftOut>& leftOut, const std::vector<CsvChanged>& changed,
                     int language) {
    constexpr std::size_t kShown = 20;
    QStringList lines;
    for (std::size_t i = 0; i < leftOut.size() && i < kShown; ++i)
        lines << Text(LeftOutText(leftOut[i], language));
    for (std::size_t i = 0; i < changed.size() && static_cast<std::size_t>(lines.size()) < kShown;
         ++i)
        lines << Text(ChangedText(changed[i], language));
    const std::size_t more =
        leftOut.size() + changed.size() - static_cast<std::size_t>(lines.size());
    if (more > 0)
        lines
            << Text(Localize(caption::kMoreLeftOut, language)).replace("%1", QString::number(more));
    return lines.join('\n');
}

} // namespace

ChannelCommands::ChannelCommands(ProgramState& state, Form1& form)
    : QObject(&form), state_(state), form_(form) {
    setObjectName("ChannelCommands");
    chooseCsvFile = [this](bool save) { return CsvDialog(&form_, save); };

    // The two File items follow Save.
    QMenu* file = form.mnuFile;
    const QList<QAction*> items = file->actions();
    QAction* afterSave = items.value(items.indexOf(form.mnuAssave) + 1);
    mnuImportCsv = new QAction(file);
    mnuImportCsv->setObjectName("mnuImportCsv");
    mnuExportCsv = new QAction(file);
    mnuExportCsv->setObjectName("mnuExportCsv");
    file->insertActions(afterSave, {mnuImportCsv, mnuExportCsv});
    connect(mnuImportCsv, &QAction::triggered, this, &ChannelCommands::ImportCsvFile);
    connect(mnuExportCsv, &QAction::triggered, this, &ChannelCommands::ExportCsvFile);

    contextMenu = new QMenu;
    contextMenu->setObjectName("Grid1Menu");
    connect(this, &QObject::destroyed, contextMenu, &QObject::deleteLater);
    ChannelGrid* grid = form.Grid1;
    auto command = [&](const char* name, QKeySequence key, void (ChannelCommands::*run)(),
                       QWidget* scope, Qt::ShortcutContext context) {
        QAction* a = contextMenu->addAction(QString());
        a->setObjectName(name);
        a->setShortcut(key);
        a->setShortcutContext(context);
        scope->addAction(a);
        connect(a, &QAction::triggered, this, run);
        return a;
    };
    // The clipboard keys belong to the grid (an open cell editor keeps its
    // own); undo and redo work wherever the focus is in the window.
    constexpr auto kGrid = Qt::WidgetWithChildrenShortcut;
    copyAction = command("Grid1Copy", QKeySequence::Copy, &ChannelCommands::Copy, grid, kGrid);
    cutAction = command("Grid1Cut", QKeySequence::Cut, &ChannelCommands::Cut, grid, kGrid);
    pasteAction = command("Grid1Paste", QKeySequence::Paste, &ChannelCommands::Paste, grid, kGrid);
    deleteAction =
        command("Grid1Delete", QKeySequence::Delete, &ChannelCommands::Delete, grid, kGrid);
    contextMenu->addSeparator();
    undoAction = command("mnuUndo", QKeySequence(Qt::CTRL | Qt::Key_Z), &ChannelCommands::Undo,
                         &form, Qt::WindowShortcut);
    redoAction = command("mnuRedo", QKeySequence(Qt::CTRL | Qt::Key_Y), &ChannelCommands::Redo,
                         &form, Qt::WindowShortcut);
    redoAction->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    grid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(grid, &QWidget::customContextMenuRequested, this, [this, grid](const QPoint& at) {
        // The first command is made current as the menu opens, so that a
        // reader announces the menu at once (an untouched popup says nothing).
        QAction* first = nullptr;
        for (QAction* action : contextMenu->actions())
            if (first == nullptr && action->isEnabled() && !action->isSeparator()) first = action;
        contextMenu->popup(grid->viewport()->mapToGlobal(at));
        if (first != nullptr) contextMenu->setActiveAction(first);
    });

    // Every other change to the table (cell edits, New, a confirmed band
    // change), what replaces it (open, read) and saving come from the window.
    connect(&form, &Form1::TableChanged, this, &ChannelCommands::RecordChange);
    connect(&form, &Form1::TableReplaced, this, &ChannelCommands::StartOver);
    connect(&form, &Form1::TableRead, this, [this] {
        RecordChange();
        MarkSaved();
    });
    connect(&form, &Form1::Saved, this, &ChannelCommands::MarkSaved);
    connect(&form.Editors(), &CellEditors::ChannelPasteRequested, this, &ChannelCommands::Paste);
    // While locked, no command edits the table in place (menus, context menu
    // and their keys alike); exporting and copying stay.
    connect(&form, &Form1::LockChanged, this, &ChannelCommands::UpdateHistoryActions);
    form.hooks().confirmDiscard = [this] { return ConfirmDiscard(); };
    StartOver();
}

void ChannelCommands::Translate() {
    TranslateForm(contextMenu);
}

void ChannelCommands::ApplyLanguage(int languageMode) {
    if (languageMode != kSimplified && languageMode != kEnglish) return;
    auto t = [languageMode](const Caption& c) { return Text(Localize(c, languageMode)); };
    mnuImportCsv->setText(t(caption::kImportCsv));
    mnuExportCsv->setText(t(caption::kExportCsv));
    copyAction->setText(t(caption::kCopy));
    cutAction->setText(t(caption::kCut));
    pasteAction->setText(t(caption::kPaste));
    deleteAction->setText(t(caption::kDelete));
    undoAction->setText(t(caption::kUndo));
    redoAction->setText(t(caption::kRedo));
}

// ---- files -----------------------------------------------------------------------

void ChannelCommands::ImportCsvFile() {
    if (!form_.ReadyToChange()) return;
    const int language = form_.LanguageMode();
    const QString name = chooseCsvFile(false);
    if (name.isEmpty()) return;
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly)) {
        Report(caption::kImportTitle,
               Text(Localize(caption::kCannotRead, language)) + file.errorString(), 16);
        return;
    }
    const QByteArray bytes = file.read(kCsvMaxBytes + 1);
    if (bytes.size() > static_cast<qsizetype>(kCsvMaxBytes)) {
        Report(caption::kImportTitle, Text(Localize(caption::kTooLarge, language)), 16);
        return;
    }
    const CsvImport read = ImportCsv(std::string_view(bytes.constData(), bytes.size()), state_,
                                     CsvBand{state_.BandIndex, true});
    if (read.refusal) {
        Report(caption::kImportTitle, name + "\n" + Text(RefusalText(*read.refusal, language)), 16);
        return;
    }
    if (ShowMessage(msg::kNewWarning, language) == BoxAnswer::kCancel) return;
    state_.Channels = read.state.Channels;
    form_.SelectBandSilently(read.state.BandIndex);
    ShowTable();
    RecordChange();

    int imported = 0;
    for (int row = 1; row <= kChannels; ++row) imported += state_.ChannelEmpty(row) ? 0 : 1;
    QString text = Text(Localize(caption::kBandIs, language)) +
                   Text(std::string(kBands.at(state_.BandIndex).text)) + "\n" +
                   Text(Localize(caption::kImported, language)) + QString::number(imported);
    const bool whole = read.leftOut.empty() && read.changed.empty();
    if (!whole) text += "\n" + LeftOutLines(read.leftOut, read.changed, language);
    Report(caption::kImportTitle, text, whole ? 64 : 48);
}

void ChannelCommands::ExportCsvFile() {
    const int language = form_.LanguageMode();
    QString name = chooseCsvFile(true);
    if (name.isEmpty()) return;
    if (QFileInfo(name).suffix().isEmpty()) name += ".csv";
    if (QFileInfo::exists(name) && ShowMessage(msg::kFileExists, language) == BoxAnswer::kNo)
        return;
    const CsvExport csv = ExportCsv(state_);
    const DataFileWrite written = WriteFileAtomically(PathOf(name), csv.text);
    if (!written.ok) {
        Report(caption::kExportTitle,
               Text(Localize(caption::kCannotWrite, language) + written.error), 16);
        return;
    }
    QString warnings;
    for (const CsvToneWarning& w : csv.warnings)
        warnings += (warnings.isEmpty() ? "" : "\n") + Text(WarningText(w, language));
    if (!warnings.isEmpty()) Report(caption::kExportTitle, warnings, 48);
}

// ---- clipboard ---------------------------------------------------------------------

std::vector<int> ChannelCommands::SelectedRows() const {
    std::set<int> rows;
    for (const QModelIndex& index : form_.Grid1->selectionModel()->selectedIndexes())
        rows.insert(index.row() + 1);
    if (rows.empty() && form_.Grid1->currentRow() >= 0) rows.insert(form_.Grid1->SelectedRow());
    return {rows.begin(), rows.end()};
}

void ChannelCommands::Copy() {
    const ClipboardCopy copy = CopyChannels(state_, SelectedRows());
    auto* data = new QMimeData;
    data->setText(Text(copy.text));
    data->setData(kClipboardMimeType, QByteArray::fromStdString(copy.json));
    QApplication::clipboard()->setMimeData(data);
}

void ChannelCommands::Cut() {
    if (!form_.ReadyToChange()) return;
    Copy();
    Delete();
}

void ChannelCommands::Delete() {
    if (!form_.ReadyToChange()) return;
    const std::vector<int> rows = SelectedRows();
    QStringList numbers;
    for (int row : rows) {
        state_.Channel(row).reset();
        numbers << QString("%1").arg(row, 2, 10, QLatin1Char('0'));
    }
    ShowTable();
    RecordChange();
    if (!rows.empty())
        Say(rows.size() == 1 ? caption::kChannelDeleted : caption::kChannelsDeleted,
            numbers.join(", "));
}

void ChannelCommands::Paste() {
    if (!form_.ReadyToChange()) return;
    const QMimeData* data = QApplication::clipboard()->mimeData();
    if (data == nullptr) return;
    const QByteArray json = data->data(kClipboardMimeType);
    const std::string text = data->text().toStdString();
    if (text.empty() && json.isEmpty()) return;
    if (text.size() > kCsvMaxBytes) {
        Report(caption::kPasteTitle, Text(Localize(caption::kTooLarge, form_.LanguageMode())), 16);
        return;
    }
    // From the topmost selected row: a paste over a selection fills it.
    const std::vector<int> selected = SelectedRows();
    const int firstRow = selected.empty() ? 1 : selected.front();
    const CsvPaste paste =
        PasteChannels(std::string_view(json.constData(), json.size()), text, state_, firstRow);
    ShowTable();
    RecordChange();
    if (paste.rowsWritten > 0) Say(caption::kChannelsPasted, QString::number(paste.rowsWritten));
    const int language = form_.LanguageMode();
    QString report = paste.refusal ? Text(RefusalText(*paste.refusal, language)) : QString();
    if (!paste.leftOut.empty() || !paste.changed.empty())
        report +=
            (report.isEmpty() ? "" : "\n") + LeftOutLines(paste.leftOut, paste.changed, language);
    if (!report.isEmpty()) Report(caption::kPasteTitle, report, 48);
}

// ---- history -----------------------------------------------------------------------

void ChannelCommands::Undo() {
    // An edit still open is a step of its own, and the one undone first.
    if (form_.ReadyToChange() && history_.Undo(state_)) {
        ShowTable();
        Say(caption::kUndone, QString());
    }
    UpdateHistoryActions();
}

void ChannelCommands::Redo() {
    if (form_.ReadyToChange() && history_.Redo(state_)) {
        ShowTable();
        Say(caption::kRedone, QString());
    }
    UpdateHistoryActions();
}

void ChannelCommands::UpdateHistoryActions() {
    const bool locked = form_.Locked();
    undoAction->setEnabled(!locked && history_.CanUndo());
    redoAction->setEnabled(!locked && history_.CanRedo());
    for (QAction* a : {mnuImportCsv, cutAction, pasteAction, deleteAction}) a->setEnabled(!locked);
}

void ChannelCommands::ShowTable() {
    {
        // The band of the table shown, without the band question.
        const QSignalBlocker quiet(form_.Combo1);
        form_.Combo1->setCurrentIndex(state_.BandSelection);
    }
    form_.Grid1->ShowAll();
}

void ChannelCommands::RecordChange() {
    history_.Record(state_);
    UpdateHistoryActions();
}

void ChannelCommands::StartOver() {
    history_.Reset(state_);
    UpdateHistoryActions();
    MarkSaved();
}

void ChannelCommands::MarkSaved() {
    savedImage_ = EncodeImage(state_);
}

bool ChannelCommands::Unsaved() const {
    return EncodeImage(state_) != savedImage_;
}

bool ChannelCommands::ConfirmDiscard() {
    if (!Unsaved()) return true;
    const int language = form_.LanguageMode();
    auto t = [language](const Caption& c) { return Text(Localize(c, language)); };
    switch (AnswerOf(LocalMsgBox(t(caption::kUnsaved), 0x33, QString(), language,
                                 {t(caption::kSave), t(caption::kDiscard), t(caption::kCancel)}))) {
    case BoxAnswer::kYes:
        form_.SaveDataFile();
        return !Unsaved();
    case BoxAnswer::kNo:
        return true;
    default:
        return false;
    }
}

void ChannelCommands::Say(const Caption& caption, const QString& argument) const {
    QString text = Text(Localize(caption, form_.LanguageMode()));
    if (text.contains(QLatin1String("%1"))) text = text.arg(argument);
    Announce(form_.Grid1, text);
}

void ChannelCommands::Report(const Caption& title, const QString& text, int style) const {
    LocalMsgBox(text, style, Text(Localize(title, form_.LanguageMode())), form_.LanguageMode());
}

} // namespace quelro
