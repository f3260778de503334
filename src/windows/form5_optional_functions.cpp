// The optional-function window (Form5).
#include "windows/form5_optional_functions.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>
#include <tuple>

#include "channels/announcement_qt.h"
#include "codes/conversions.h"
#include "i18n/full_width_digits_qt.h"
#include "i18n/local_msgbox_qt.h"
#include "i18n/optional_captions.h"
#include "image/image_fields.h"
#include "windows/accessible_names.h"

namespace quelro {
namespace {

// The fields shown in lists, in the order the window loads them; lists_
// holds their controls in the same order.
constexpr std::array<FunctionText, 11> kListFields{
    kPttIdMode,    kVoxEnable,       kVoxGain,      kVoxDelay,     kVoxTone,      kDuplicate,
    kPriorityMode, kPriorityChannel, kRetraceTimeA, kRetraceTimeB, kReturnChannel};

constexpr int kPriorityFixed = 1;

const ImageField& ValuesOf(FunctionText field) {
    return FieldOf(Store::FunctionText, field);
}

// The list of a field's values, designed with their Chinese names and as wide
// as the widest name in either language.
QComboBox* NewList(FunctionText field, const char* name) {
    auto* list = new QComboBox;
    list->setObjectName(QString::fromLatin1(name));
    list->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    int columns = 0;
    const ImageField& values = ValuesOf(field);
    for (int position = values.low; position <= values.high; ++position) {
        const std::optional<ItemName> item = ItemNameOf(values, position);
        list->addItem(FromUtf8(item->zh));
        columns = std::max({columns, TextColumns(item->zh), TextColumns(item->en)});
    }
    FitListWidth(list, columns);
    return list;
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
    spinner->setRange(-ValuesOf(kScanRxResumeDelay).high, 0);
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

Form5::Form5(ProgramState& state, const int& language, QWidget* owner)
    : AuxWindow(state, owner, "Form5"), language_(language) {
    setWindowTitle(FromUtf8(kOptionalTitle.zh));

    Label8 = NewLabel(kVoxEnableLabel.zh, "Label8");
    Label10 = NewLabel(kVoxGainLabel.zh, "Label10");
    Label9 = NewLabel(kVoxDelayLabel.zh, "Label9");
    Label7 = NewLabel(kVoxToneLabel.zh, "Label7");
    Label4 = NewLabel(kPttIdLabel.zh, "Label4");
    Label11 = NewLabel(kDuplicateLabel.zh, "Label11");
    Label14 = NewLabel(kPriorityLabel.zh, "Label14");
    Label15 = NewLabel(kPriorityChannelLabel.zh, "Label15");
    Label17 = NewLabel(kRetraceTimeALabel.zh, "Label17");
    Label16 = NewLabel(kRetraceTimeBLabel.zh, "Label16");
    Label18 = NewLabel(kReturnChannelLabel.zh, "Label18");
    Label19 = NewLabel(kScanRxResumeDelayLabel.zh, "Label19");
    Label20 = NewLabel(kScanTxResumeDelayLabel.zh, "Label20");

    Combo4 = NewList(kPttIdMode, "Combo4");
    Combo6 = NewList(kVoxEnable, "Combo6");
    Combo7 = NewList(kVoxGain, "Combo7");
    Combo8 = NewList(kVoxDelay, "Combo8");
    Combo9 = NewList(kVoxTone, "Combo9");
    Combo10 = NewList(kDuplicate, "Combo10");
    Combo11 = NewList(kPriorityMode, "Combo11");
    Combo12 = NewList(kPriorityChannel, "Combo12");
    Combo13 = NewList(kRetraceTimeA, "Combo13");
    Combo14 = NewList(kRetraceTimeB, "Combo14");
    Combo15 = NewList(kReturnChannel, "Combo15");
    lists_ = {Combo4,  Combo6,  Combo7,  Combo8,  Combo9, Combo10,
              Combo11, Combo12, Combo13, Combo14, Combo15};

    Text5 = NewDelayText("Text5");
    Text6 = NewDelayText("Text6");
    const int spinnerHeight = Text5->sizeHint().height();
    VScroll1 = NewDelaySpinner("VScroll1", spinnerHeight);
    VScroll2 = NewDelaySpinner("VScroll2", spinnerHeight);

    Check3 = new QCheckBox(FromUtf8(kCancelOperationLabel.zh));
    Check3->setObjectName("Check3");
    Check4 = new QCheckBox(FromUtf8(kVoxRxInhibitLabel.zh));
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

    Frame2 = new QGroupBox(FromUtf8(kScanFrameCaption.zh));
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

    Text5->installEventFilter(this);
    Text6->installEventFilter(this);
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
    ShowMessage(msg::kFixedNeedsChannel, language_);
    Combo11->setCurrentIndex(0);
}

void Form5::Combo12_Click() {
    if (Combo11->currentIndex() != kPriorityFixed) return;
    const int channel = Combo12->currentIndex() + 1;
    if (channel < 1 || !state_.ChannelEmpty(channel)) return;
    ShowMessage(msg::kEmptyChannelPicked, language_);
    // Setting the position does not re-run this check, so a last fixed channel
    // that has been emptied since cannot make the message come back forever.
    if (lastFixedChannel_ >= 1) Combo12->setCurrentIndex(lastFixedChannel_ - 1);
}

bool Form5::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && (watched == Text5 || watched == Text6)) {
        // Up and Down in a delay box step it as its spinner does (the spinner
        // takes no focus of its own), and the new value is spoken.
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            auto* text = static_cast<QLineEdit*>(watched);
            QScrollBar* spinner = watched == Text5 ? VScroll1 : VScroll2;
            bool number = false;
            const int typed = text->text().toInt(&number);
            if (number) spinner->setValue(-std::clamp(typed, 0, -spinner->minimum()));
            spinner->triggerAction(key == Qt::Key_Up ? QAbstractSlider::SliderSingleStepSub
                                                     : QAbstractSlider::SliderSingleStepAdd);
            text->setText(QString::number(-spinner->value()));
            Announce(text, text->text());
            return true;
        }
    }
    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        for (int i = 0; i < static_cast<int>(kUnlockLabels.size()); ++i)
            if (watched->objectName() == QLatin1String(kUnlockLabels[static_cast<std::size_t>(i)]))
                emit UnlockLabelClicked(i);
    }
    return AuxWindow::eventFilter(watched, event);
}

void Form5::ApplyLanguage(int mode) {
    SetCaption(this, kOptionalTitle, mode);
    SetCaption(Frame2, kScanFrameCaption, mode);
    SetCaption(Check3, kCancelOperationLabel, mode);
    SetCaption(Check4, kVoxRxInhibitLabel, mode);
    SetCaption(Label8, kVoxEnableLabel, mode);
    SetCaption(Label10, kVoxGainLabel, mode);
    SetCaption(Label9, kVoxDelayLabel, mode);
    SetCaption(Label7, kVoxToneLabel, mode);
    SetCaption(Label4, kPttIdLabel, mode);
    SetCaption(Label11, kDuplicateLabel, mode);
    SetCaption(Label14, kPriorityLabel, mode);
    SetCaption(Label15, kPriorityChannelLabel, mode);
    SetCaption(Label17, kRetraceTimeALabel, mode);
    SetCaption(Label16, kRetraceTimeBLabel, mode);
    SetCaption(Label18, kReturnChannelLabel, mode);
    SetCaption(Label19, kScanRxResumeDelayLabel, mode);
    SetCaption(Label20, kScanTxResumeDelayLabel, mode);
    // The spinners beside the delay boxes, which name nothing else.
    SetAccessibleName(VScroll1, kScanRxResumeDelayLabel, mode);
    SetAccessibleName(VScroll2, kScanTxResumeDelayLabel, mode);
    SetCaption(Command1, kOkCaption, mode);
    SetCaption(Command2, kCancelCaption, mode);
    for (FunctionText field : kListFields) {
        const ImageField& values = ValuesOf(field);
        for (int position = values.low; position <= values.high; ++position) {
            const std::optional<ItemName> item = ItemNameOf(values, position);
            SetItemCaption(ListOf(field), position - values.low, {item->zh, item->en}, mode);
        }
    }
}

} // namespace quelro
