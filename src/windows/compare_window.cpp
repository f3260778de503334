// The compare window.
#include "windows/compare_window.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "windows/accessible_names.h"

namespace quelro {
namespace {

constexpr Caption kTitle{"比较", "Compare"};
constexpr Caption kHeading{"屏幕上的表（旧）与 %1（新）的差异：",
                           "Differences between the table on screen (old) and %1 (new):"};
constexpr Caption kSame{"没有差异：屏幕上的表与 %1 相同。",
                        "No differences: the table on screen and %1 are the same."};
constexpr std::array<Caption, 3> kHeaders{
    {{"信道或设定", "Channel or setting"}, {"旧值", "Old"}, {"新值", "New"}}};
// The last read is what the radio held before; the table is what it gets now.
constexpr Caption kReadHeading{"上次读频 %1（之前）与屏幕上的表（现在）的差异：",
                               "Differences between the last read, %1 (before), and the table "
                               "on screen (now):"};
constexpr Caption kReadSame{"没有差异：屏幕上的表与上次读频 %1 相同。",
                            "No differences: the table on screen and the last read, %1, are the "
                            "same."};
constexpr std::array<Caption, 3> kReadHeaders{
    {{"信道或设定", "Channel or setting"}, {"之前", "Before"}, {"现在", "Now"}}};
constexpr Caption kClose{"关闭", "Close"};
constexpr Caption kListName{"差异", "Differences"};

bool IsChannel(const Difference& d) {
    return d.kind == Difference::ChannelCell || d.kind == Difference::ChannelAppears ||
           d.kind == Difference::ChannelVanishes;
}

} // namespace

CompareWindow::CompareWindow(ProgramState& state, QWidget* owner)
    : AuxWindow(state, owner, "CompareWindow") {
    Label1 = NewLabel("", "Label1");
    Label1->setWordWrap(true);
    List1 = new QTableWidget(0, 3);
    List1->setObjectName("List1");
    List1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    List1->setSelectionBehavior(QAbstractItemView::SelectRows);
    List1->setSelectionMode(QAbstractItemView::SingleSelection);
    List1->verticalHeader()->hide();
    // Every column as wide as its texts (a vanishing channel's old value is
    // its whole row): what the window cannot show scrolls, nothing is cut.
    List1->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    List1->setWordWrap(false);
    // Tab leaves the list for Close; the arrows move in it.
    List1->setTabKeyNavigation(false);
    Command1 = NewButton(kClose, "Command1");

    auto* top = new QVBoxLayout(this);
    top->addWidget(Label1);
    top->addWidget(List1, 1);
    top->addLayout(NewButtonRow({Command1}));
    resize(860, 420);

    connect(Command1, &QPushButton::clicked, this, &QWidget::hide);
    SetDialogButtons(Command1, Command1);
    connect(List1, &QTableWidget::cellDoubleClicked, this, [this](int row, int) {
        if (row >= 0 && row < static_cast<int>(differences_.size()) &&
            IsChannel(differences_[static_cast<std::size_t>(row)]))
            emit ChannelChosen(differences_[static_cast<std::size_t>(row)].channel);
    });
    Captions(kSimplified);
}

void CompareWindow::ShowDifferences(const QString& fileName, std::vector<Difference> differences,
                                    int languageMode, Sides sides) {
    fileName_ = fileName;
    sides_ = sides;
    differences_ = std::move(differences);
    languageMode_ = languageMode;
    List1->setRowCount(static_cast<int>(differences_.size()));
    for (int row = 0; row < List1->rowCount(); ++row) {
        const Difference& d = differences_[static_cast<std::size_t>(row)];
        const std::string* texts[] = {&d.where, &d.before, &d.after};
        for (int column = 0; column < 3; ++column) {
            auto* item = new QTableWidgetItem(FromUtf8(*texts[column]));
            item->setToolTip(item->text()); // a whole row may be wider than its column
            List1->setItem(row, column, item);
        }
    }
    List1->setVisible(!differences_.empty());
    Captions(languageMode);
}

void CompareWindow::Captions(int mode) {
    languageMode_ = mode;
    setWindowTitle(FromUtf8(Localize(kTitle, mode)));
    const bool lastRead = sides_ == Sides::LastReadAndScreen;
    const auto& headers = lastRead ? kReadHeaders : kHeaders;
    for (int column = 0; column < 3; ++column)
        List1->setHorizontalHeaderItem(
            column, new QTableWidgetItem(FromUtf8(Localize(headers[column], mode))));
    Command1->setText(FromUtf8(Localize(kClose, mode)));
    List1->setAccessibleName(FromUtf8(Localize(kListName, mode)));
    const Caption& line = differences_.empty() ? (lastRead ? kReadSame : kSame)
                                               : (lastRead ? kReadHeading : kHeading);
    Label1->setText(FromUtf8(Localize(line, mode)).replace("%1", fileName_));
}

void CompareWindow::ApplyLanguage(int languageMode) {
    if (languageMode == kSimplified || languageMode == kEnglish) Captions(languageMode);
}

void CompareWindow::Translate() {
    Captions(kTraditional);
}

} // namespace quelro
