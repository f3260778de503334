// The optional-function window (Form5).
#include "windows/form5_optional_functions.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>
#include <tuple>

#include "codes/conversions.h"
#include "i18n/full_width_digits_qt.h"
#include "i18n/local_msgbox_qt.h"
#include "windows/accessible_names.h"

namespace quelro {
namespace {

constexpr Caption kTitle{"可选功能", "Optional Function"};
constexpr Caption kScanFrame{"扫描", "Scan"};
constexpr Caption kCheck3{"取消操作", "Cancel operation"};
constexpr Caption kCheck4{"接收时禁止VOX", "Received banned VOX"};
constexpr Caption kLabel8{"VOX功能", "VOX Function"};
constexpr Caption kLabel10{"VOX增益电平", "VOX GBIN"};
constexpr Caption kLabel9{"VOX延迟时间", "VOX Delay time"};
constexpr Caption kLabel7{"VOX可进行音调", "VOX volume control"};
constexpr Caption kLabel4{"PTT ID", "PTT ID"};
constexpr Caption kLabel11{"复制", "Duplicate"};
constexpr Caption kLabel14{"优先", "Priority"};
constexpr Caption kLabel15{"优先信道", "Preferred channel"};
constexpr Caption kLabel17{"回扫时间A", "Retrace Time A"};
constexpr Caption kLabel16{"回扫时间B", "Retrace Time B"};
constexpr Caption kLabel18{"返回信道", "Return channel"};
constexpr Caption kLabel19{"扫描接收恢复延时时间(秒)", "Scan receive delay time(S)"};
constexpr Caption kLabel20{"扫描发射恢复延时时间(秒)", "Scan launch delay time(S)"};

constexpr std::array<Caption, 3> kPttIdItems{
    {{"发射开始", "Launch Start"}, {"发射结束", "Launch End"}, {"两者", "Both"}}};
constexpr std::array<Caption, 2> kOffOnItems{{{"禁止", "Off"}, {"使能", "On"}}};
constexpr Caption kGainOff{"关闭", "Off"};
constexpr std::array<Caption, 3> kPriorityItems{
    {{"无", "No"}, {"固定", "Fixed"}, {"选定", "Selected"}}};
constexpr Caption kRetraceEmpty{"空", "Empty"};
constexpr std::array<Caption, 4> kReturnItems{{{"选定", "Selected"},
                                               {"选定+当前", "Selected+Current"},
                                               {"优先", "priority"},
                                               {"优先+当前", "priority+Current"}}};

// The fields shown in lists, in the order the window loads them; lists_
// holds their controls in the same order.
constexpr std::array<FunctionText, 11> kListFields{
    kPttIdMode,    kVoxEnable,       kVoxGain,      kVoxDelay,     kVoxTone,      kDuplicate,
    kPriorityMode, kPriorityChannel, kRetraceTimeA, kRetraceTimeB, kReturnChannel};

constexpr int kPriorityFixed = 1;
constexpr int kRetraceSteps = 91;
// The scan resume delays the radio accepts, in seconds.
constexpr int kResumeDelayMax = 300;

QComboBox* NewList(const QStringList& items, const char* name, int columns = 0) {
    auto* list = new QComboBox;
    list->setObjectName(QString::fromLatin1(name));
    list->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    list->addItems(items);
    for (const QString& item : items) columns = std::max(columns, TextColumns(item.toStdString()));
    FitListWidth(list, columns);
    return list;
}

// A list of worded entries, designed with their Chinese texts and as wide as
// the widest entry in either language.
template <std::size_t N> QComboBox* NewList(const std::array<Caption, N>& items, const char* name) {
    QStringList design;
    int columns = 0;
    for (const Caption& item : items) {
        design << FromUtf8(item.zh);
        columns = std::max({columns, TextColumns(item.zh), TextColumns(item.en)});
    }
    return NewList(design, name, columns);
}

QLineEdit* NewDelayText(const char* name) {
    auto* text = new QLineEdit;
    text->setObjectName(QString::fromLatin1(name));
    text->setMaximumWidth(80);
    TakeFullWidthDigits(text);
    return text;
}

// A spinner for one scan delay. Qt's scroll bars count downwards from the top,
// so the range is negated to make the upper arrow count up.
QScrollBar* NewDelaySpinner(const char* name, int height) {
    auto* spinner = new QScrollBar(Qt::Vertical);
    spinner->setObjectName(QString::fromLatin1(name));
    spinner->setRange(-kResumeDelayMax, 0);
    spinner->setSingleStep(1);
    spinner->setPageStep(10);
    spinner->setFixedHeight(height);
    return spinner;
}

// A row of a label and the control it names (its buddy).
void AddRow(QGridLayout* grid, QLabel* label, QWidget* control) {
    const int row = grid->rowCount();
    label->setBuddy(control);
    grid->addWidget(label, row, 0);
    grid->addWidget(control, row, 1);
}

void AddRow(QGridLayout* grid, QLabel* label, QWidget* named, QLayout* controls) {
    const int row = grid->rowCount();
    label->setBuddy(named);
    grid->addWidget(label, row, 0);
    grid->addLayout(controls, row, 1);
}

} // namespace

Form5::Form5(ProgramState& state, QWidget* owner) : AuxWindow(state, owner, "Form5") {
    setWindowTitle(FromUtf8(kTitle.zh));

    Label8 = NewLabel(kLabel8.zh, "Label8");
    Label10 = NewLabel(kLabel10.zh, "Label10");
    Label9 = NewLabel(kLabel9.zh, "Label9");
    Label7 = NewLabel(kLabel7.zh, "Label7");
    Label4 = NewLabel(kLabel4.zh, "Label4");
    Label11 = NewLabel(kLabel11.zh, "Label11");
    Label14 = NewLabel(kLabel14.zh, "Label14");
    Label15 = NewLabel(kLabel15.zh, "Label15");
    Label17 = NewLabel(kLabel17.zh, "Label17");
    Label16 = NewLabel(kLabel16.zh, "Label16");
    Label18 = NewLabel(kLabel18.zh, "Label18");
    Label19 = NewLabel(kLabel19.zh, "Label19");
    Label20 = NewLabel(kLabel20.zh, "Label20");

    QStringList gains{FromUtf8(kGainOff.zh)};
    for (int i = 1; i <= 10; ++i) gains << QString::number(i);
    QStringList channels;
    for (int n = 1; n <= kChannels; ++n) channels << QStringLiteral("%1").arg(n, 2, 10, QChar('0'));

    Combo4 = NewList(kPttIdItems, "Combo4");
    Combo6 = NewList(kOffOnItems, "Combo6");
    Combo7 = NewList(gains, "Combo7");
    Combo8 = NewList({"0.3S", "0.5S", "1S", "1.5S", "2S", "3S"}, "Combo8");
    Combo9 = NewList(kOffOnItems, "Combo9");
    Combo10 = NewList(kOffOnItems, "Combo10");
    Combo11 = NewList(kPriorityItems, "Combo11");
    Combo12 = NewList(channels, "Combo12");
    // The retrace lists are filled at load; "0.50 S" is their widest entry.
    Combo13 = NewList(QStringList{}, "Combo13", TextColumns("0.50 S"));
    Combo14 = NewList(QStringList{}, "Combo14", TextColumns("0.50 S"));
    Combo15 = NewList(kReturnItems, "Combo15");
    lists_ = {Combo4,  Combo6,  Combo7,  Combo8,  Combo9, Combo10,
              Combo11, Combo12, Combo13, Combo14, Combo15};

    Text5 = NewDelayText("Text5");
    Text6 = NewDelayText("Text6");
    const int spinnerHeight = Text5->sizeHint().height();
    VScroll1 = NewDelaySpinner("VScroll1", spinnerHeight);
    VScroll2 = NewDelaySpinner("VScroll2", spinnerHeight);

    Check3 = new QCheckBox(FromUtf8(kCheck3.zh));
    Check3->setObjectName("Check3");
    Check4 = new QCheckBox(FromUtf8(kCheck4.zh));
    Check4->setObjectName("Check4");
    Command1 = NewButton(kOkCaption, "Command1");
    Command2 = NewButton(kCancelCaption, "Command2");

    Frame1 = new QGroupBox(QStringLiteral("VOX"));
    Frame1->setObjectName("Frame1");
    auto* vox = new QGridLayout(Frame1);
    AddRow(vox, Label8, Combo6);
    AddRow(vox, Label10, Combo7);
    AddRow(vox, Label9, Combo8);
    AddRow(vox, Label7, Combo9);
    vox->addWidget(Check4, vox->rowCount(), 0, 1, 2);

    auto* below = new QGridLayout;
    AddRow(below, Label4, Combo4);
    AddRow(below, Label11, Combo10);
    below->addWidget(Check3, below->rowCount(), 0, 1, 2);

    Frame2 = new QGroupBox(FromUtf8(kScanFrame.zh));
    Frame2->setObjectName("Frame2");
    auto* scan = new QGridLayout(Frame2);
    AddRow(scan, Label14, Combo11);
    AddRow(scan, Label15, Combo12);
    AddRow(scan, Label17, Combo13);
    AddRow(scan, Label16, Combo14);
    AddRow(scan, Label18, Combo15);
    for (auto [label, text, spinner] :
         {std::tuple{Label19, Text5, VScroll1}, std::tuple{Label20, Text6, VScroll2}}) {
        auto* pair = new QHBoxLayout;
        pair->setSpacing(0);
        pair->addWidget(text);
        pair->addWidget(spinner);
        pair->addStretch();
        AddRow(scan, label, text, pair);
    }
    scan->setRowStretch(scan->rowCount(), 1);

    auto* left = new QVBoxLayout;
    left->addWidget(Frame1);
    left->addLayout(below);
    left->addStretch();
    auto* columns = new QHBoxLayout;
    columns->addLayout(left);
    columns->addWidget(Frame2);
    QHBoxLayout* buttons = NewButtonRow({Command1, Command2});
    auto* top = new QVBoxLayout(this);
    top->addLayout(columns);
    top->addLayout(buttons);

    for (const char* name : kUnlockLabels)
        if (auto* label = findChild<QLabel*>(QString::fromLatin1(name)))
            label->installEventFilter(this);

    // `activated` is a pick by the user (mouse, keys or wheel); positions set
    // by the program run the handlers themselves, in ShowField.
    connect(Combo11, &QComboBox::activated, this, [this] { Combo11_Click(); });
    connect(Combo12, &QComboBox::activated, this, [this] { Combo12_Click(); });
    connect(VScroll1, &QScrollBar::valueChanged, this,
            [this](int v) { Text5->setText(QString::number(-v)); });
    connect(VScroll2, &QScrollBar::valueChanged, this,
            [this](int v) { Text6->setText(QString::number(-v)); });
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { hide(); });
    SetDialogButtons(Command1, Command2);

    Form_Load();
}

void Form5::Form_Load() {
    const QString empty = FromUtf8(kRetraceEmpty.zh);
    for (QComboBox* list : {Combo13, Combo14}) {
        list->addItem(empty);
        for (int i = 1; i <= kRetraceSteps; ++i)
            list->addItem(FromUtf8(FormatFixed(0.5 + (i - 1) * 0.05, 2)) + QStringLiteral(" S"));
    }
    // What is stored is shown as it is: only the user's own choice of the
    // priority mode or channel is checked (a stored "Fixed" on an empty
    // channel is written back unchanged).
    for (FunctionText field : kListFields) ShowField(field);
    for (FunctionText field :
         {kScanRxResumeDelay, kScanTxResumeDelay, kCancelOperation, kVoxRxInhibit})
        ShowField(field);
}

QComboBox* Form5::ListOf(FunctionText field) const {
    for (std::size_t i = 0; i < kListFields.size(); ++i)
        if (kListFields[i] == field) return lists_[i];
    return nullptr;
}

void Form5::ShowField(FunctionText field) {
    const std::string& value = state_.Functions.Text.at(field);
    if (QComboBox* list = ListOf(field)) {
        SelectPosition(list, static_cast<int>(Val(value)));
        if (field == kPriorityChannel && !state_.ChannelEmpty(list->currentIndex() + 1))
            lastFixedChannel_ = list->currentIndex() + 1;
        return;
    }
    switch (field) {
    case kScanRxResumeDelay:
        Text5->setText(FromUtf8(value));
        break;
    case kScanTxResumeDelay:
        Text6->setText(FromUtf8(value));
        break;
    case kCancelOperation:
        Check3->setChecked(Val(value) != 0);
        break;
    case kVoxRxInhibit:
        Check4->setChecked(Val(value) != 0);
        break;
    default:
        break;
    }
}

void Form5::Command1_Click() {
    auto& text = state_.Functions.Text;
    for (FunctionText field : kListFields)
        text[field] = std::to_string(ListOf(field)->currentIndex());
    text[kScanRxResumeDelay] = Text5->text().toStdString();
    text[kScanTxResumeDelay] = Text6->text().toStdString();
    text[kCancelOperation] = Check3->isChecked() ? "1" : "0";
    text[kVoxRxInhibit] = Check4->isChecked() ? "1" : "0";
    hide();
}

void Form5::Combo11_Click() {
    if (Combo11->currentIndex() != kPriorityFixed) return;
    for (int channel = 1; channel <= kChannels; ++channel) {
        if (!state_.ChannelEmpty(channel)) {
            lastFixedChannel_ = channel;
            Combo12->setCurrentIndex(channel - 1);
            return;
        }
    }
    ShowMessage(msg::kFixedNeedsChannel, state_.LanguageMode);
    Combo11->setCurrentIndex(0);
}

void Form5::Combo12_Click() {
    if (Combo11->currentIndex() != kPriorityFixed) return;
    const int channel = Combo12->currentIndex() + 1;
    if (channel < 1 || !state_.ChannelEmpty(channel)) return;
    ShowMessage(msg::kEmptyChannelPicked, state_.LanguageMode);
    // Setting the position does not re-run this check, so a last fixed channel
    // that has been emptied since cannot make the message come back forever.
    if (lastFixedChannel_ >= 1) Combo12->setCurrentIndex(lastFixedChannel_ - 1);
}

bool Form5::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        for (int i = 0; i < static_cast<int>(kUnlockLabels.size()); ++i)
            if (watched->objectName() == QLatin1String(kUnlockLabels[static_cast<std::size_t>(i)]))
                emit UnlockLabelClicked(i);
    }
    return AuxWindow::eventFilter(watched, event);
}

void Form5::ApplyLanguage(int mode) {
    SetCaption(this, kTitle, mode);
    SetCaption(Frame2, kScanFrame, mode);
    SetCaption(Check3, kCheck3, mode);
    SetCaption(Check4, kCheck4, mode);
    SetCaption(Label8, kLabel8, mode);
    SetCaption(Label10, kLabel10, mode);
    SetCaption(Label9, kLabel9, mode);
    SetCaption(Label7, kLabel7, mode);
    SetCaption(Label4, kLabel4, mode);
    SetCaption(Label11, kLabel11, mode);
    SetCaption(Label14, kLabel14, mode);
    SetCaption(Label15, kLabel15, mode);
    SetCaption(Label17, kLabel17, mode);
    SetCaption(Label16, kLabel16, mode);
    SetCaption(Label18, kLabel18, mode);
    SetCaption(Label19, kLabel19, mode);
    SetCaption(Label20, kLabel20, mode);
    // The spinners beside the delay boxes, which name nothing else.
    SetAccessibleName(VScroll1, kLabel19, mode);
    SetAccessibleName(VScroll2, kLabel20, mode);
    SetCaption(Command1, kOkCaption, mode);
    SetCaption(Command2, kCancelCaption, mode);
    for (int i = 0; i < 3; ++i) SetItemCaption(Combo4, i, kPttIdItems[i], mode);
    for (QComboBox* list : {Combo6, Combo9, Combo10})
        for (int i = 0; i < 2; ++i) SetItemCaption(list, i, kOffOnItems[i], mode);
    SetItemCaption(Combo7, 0, kGainOff, mode);
    for (int i = 0; i < 3; ++i) SetItemCaption(Combo11, i, kPriorityItems[i], mode);
    SetItemCaption(Combo13, 0, kRetraceEmpty, mode);
    SetItemCaption(Combo14, 0, kRetraceEmpty, mode);
    for (int i = 0; i < 4; ++i) SetItemCaption(Combo15, i, kReturnItems[i], mode);
}

} // namespace quelro
