// The service adjust window (Form2).
#include "windows/form2_service_adjust.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

#include "windows/accessible_names.h"

namespace quelro {
namespace {

constexpr Caption kFrame1{"发射高功率", "TX-Hight Power"};
constexpr Caption kFrame2{"发射低功率", "TX-Low Power"};
constexpr Caption kLow{"最小", "Low"};
constexpr Caption kHigh{"最大", "Hight"};
// What a reader says of a slider, which its frame names.
constexpr Caption kSliderHelp{"0至255，仅在服务模式下可调",
                              "0 to 255, adjustable in service mode only"};

// A level is one byte of the image.
constexpr int kLevelMax = 255;

QSlider* NewLevelSlider(const char* name) {
    auto* slider = new QSlider(Qt::Horizontal);
    slider->setObjectName(QString::fromLatin1(name));
    slider->setRange(0, kLevelMax);
    slider->setPageStep(16);
    slider->setTickPosition(QSlider::TicksBelow);
    slider->setTickInterval(16);
    slider->setMinimumWidth(256);
    return slider;
}

// One frame: the value above the slider, the end labels beside it.
QGroupBox* NewLevelFrame(const Caption& title, const char* name, QLabel* value, QLabel* low,
                         QSlider* slider, QLabel* high) {
    auto* frame = new QGroupBox(FromUtf8(title.zh));
    frame->setObjectName(QString::fromLatin1(name));
    auto* grid = new QGridLayout(frame);
    value->setAlignment(Qt::AlignCenter);
    grid->addWidget(value, 0, 1);
    grid->addWidget(low, 1, 0);
    grid->addWidget(slider, 1, 1);
    grid->addWidget(high, 1, 2);
    return frame;
}

} // namespace

Form2::Form2(ProgramState& state, QWidget* owner) : AuxWindow(state, owner, "Form2") {
    // The design title, the same in every language.
    setWindowTitle(QStringLiteral("Debug"));

    Slider1 = NewLevelSlider("Slider1");
    Slider3 = NewLevelSlider("Slider3");
    Lblpower1 = NewLabel({}, "Lblpower1");
    Lblpower3 = NewLabel({}, "Lblpower3");
    Label3 = NewLabel(kLow.zh, "Label3");
    Label6 = NewLabel(kLow.zh, "Label6");
    Label7 = NewLabel(kHigh.zh, "Label7");
    Label8 = NewLabel(kHigh.zh, "Label8");
    Frame1 = NewLevelFrame(kFrame1, "Frame1", Lblpower1, Label3, Slider1, Label7);
    Frame2 = NewLevelFrame(kFrame2, "Frame2", Lblpower3, Label6, Slider3, Label8);
    Command1 = NewButton(kOkCaption, "Command1");

    auto* top = new QVBoxLayout(this);
    top->addWidget(Frame1);
    top->addWidget(Frame2);
    top->addLayout(NewButtonRow({Command1}));

    connect(Slider1, &QSlider::valueChanged, this,
            [this](int v) { Lblpower1->setText(QString::number(v)); });
    connect(Slider3, &QSlider::valueChanged, this,
            [this](int v) { Lblpower3->setText(QString::number(v)); });
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    SetDialogButtons(Command1, nullptr);

    SetSlidersEnabled(state_.ServiceMode == 1);
    ShowHighLevel();
    ShowLowLevel();
}

void Form2::SetSlidersEnabled(bool enabled) {
    Slider1->setEnabled(enabled);
    Slider3->setEnabled(enabled);
}

void Form2::ShowHighLevel() {
    Slider1->setValue(state_.TxPowerHigh);
    Lblpower1->setText(QString::number(state_.TxPowerHigh));
}

void Form2::ShowLowLevel() {
    Slider3->setValue(state_.TxPowerLow);
    Lblpower3->setText(QString::number(state_.TxPowerLow));
}

void Form2::Command1_Click() {
    state_.SetTxPowerHigh(Slider1->value());
    state_.SetTxPowerLow(Slider3->value());
    hide();
}

void Form2::ApplyLanguage(int mode) {
    SetCaption(Frame1, kFrame1, mode);
    SetCaption(Frame2, kFrame2, mode);
    SetCaption(Label3, kLow, mode);
    SetCaption(Label6, kLow, mode);
    SetCaption(Label7, kHigh, mode);
    SetCaption(Label8, kHigh, mode);
    SetCaption(Command1, kOkCaption, mode);
    SetAccessibleDescription(Slider1, kSliderHelp, mode);
    SetAccessibleDescription(Slider3, kSliderHelp, mode);
}

} // namespace quelro
