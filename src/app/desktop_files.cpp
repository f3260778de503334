// Opening files from the desktop through the File menu's own commands.
#include "app/desktop_files.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QTimer>
#include <QUrl>

#include <utility>

#include "app/channel_commands.h"
#include "app/form1.h"

namespace quelro {
namespace {

// The first local file of a drag; empty when it carries none.
QString DroppedFile(const QMimeData* data) {
    if (data == nullptr) return {};
    for (const QUrl& url : data->urls())
        if (url.isLocalFile()) return url.toLocalFile();
    return {};
}

} // namespace

DesktopFiles::DesktopFiles(Form1& form, ChannelCommands& commands)
    : QObject(&form), form_(form), commands_(commands) {
    setObjectName("DesktopFiles");
    form.setAcceptDrops(true);
    form.installEventFilter(this);
}

void DesktopFiles::Open(const QString& name) {
    QTimer::singleShot(0, this, [this, name] { OpenNow(name); });
}

void DesktopFiles::OpenNow(const QString& name) {
    // The File menu's commands, their dialogs answered with the name once.
    if (QFileInfo(name).suffix().compare("csv", Qt::CaseInsensitive) == 0) {
        auto chooser = std::exchange(commands_.chooseCsvFile, [name](bool) { return name; });
        commands_.ImportCsvFile();
        commands_.chooseCsvFile = std::move(chooser);
        return;
    }
    Form1::Hooks& h = form_.hooks();
    const auto chooser = h.chooseFileName;
    // Saving first (the unsaved-work question) still asks for its name.
    h.chooseFileName = [name, chooser](bool save, const QString& current) {
        return save ? chooser(save, current) : name;
    };
    form_.OpenDataFile();
    h.chooseFileName = chooser;
}

bool DesktopFiles::eventFilter(QObject* watched, QEvent* event) {
    if (watched != &form_) return false;
    if (event->type() == QEvent::DragEnter) {
        auto* enter = static_cast<QDragEnterEvent*>(event);
        if (!DroppedFile(enter->mimeData()).isEmpty()) enter->acceptProposedAction();
        return true;
    }
    if (event->type() == QEvent::Drop) {
        auto* drop = static_cast<QDropEvent*>(event);
        const QString name = DroppedFile(drop->mimeData());
        if (name.isEmpty()) return true;
        drop->acceptProposedAction();
        // Not inside the drop: the desktop's drag waits for it to end.
        Open(name);
        return true;
    }
    return false;
}

} // namespace quelro
