// The key-setting window (Form6).
#include "windows/form6_key_settings.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

#include "windows/accessible_names.h"
#include "windows/radio_picture.h"

namespace quelro {
namespace {

constexpr Caption kTitle{"键设定", "Keys Set"};
constexpr Caption kPf1Help{"侧键PF1的功能", "Function of side key PF1"};
constexpr Caption kPf2Help{"侧键PF2的功能", "Function of side key PF2"};

constexpr const auto& kFunctionItems = kSideKeyFunctionItems;
static_assert(kSideKeyFunctionItems.size() == Form6::kFunctions);
// The window's own text of position 8; the language procedure always
// replaces it.
constexpr std::string_view kDesignItem8 = "照明灯开关";

QComboBox* NewKeyList(const char* name) {
    auto* list = new QComboBox;
    list->setObjectName(QString::fromLatin1(name));
    int columns = TextColumns(kDesignItem8);
    for (int i = 0; i < Form6::kFunctions; ++i) {
        const Caption& item = kFunctionItems[static_cast<std::size_t>(i)];
        list->addItem(FromUtf8(i == 8 ? kDesignItem8 : item.zh));
        columns = std::max({columns, TextColumns(item.zh), TextColumns(item.en)});
    }
    FitListWidth(list, columns);
    return list;
}

} // namespace

Form6::Form6(ProgramState& state, QWidget* owner) : AuxWindow(state, owner, "Form6") {
    setWindowTitle(FromUtf8(kTitle.zh));

    Label1 = new QLabel(QStringLiteral("PF1"));
    Label1->setObjectName("Label1");
    Label2 = new QLabel(QStringLiteral("PF2"));
    Label2->setObjectName("Label2");
    Combo1 = NewKeyList("Combo1");
    Combo2 = NewKeyList("Combo2");
    Label1->setBuddy(Combo1);
    Label2->setBuddy(Combo2);
    Image1 = new RadioPicture(RadioPicture::Kind::SideKeys, "Image1");
    Command1 = NewButton(kOkCaption, "Command1");
    Command2 = NewButton(kCancelCaption, "Command2");

    auto* keys = new QGridLayout;
    keys->addWidget(Label1, 0, 0);
    keys->addWidget(Combo1, 0, 1);
    keys->addWidget(Label2, 1, 0);
    keys->addWidget(Combo2, 1, 1);
    keys->setRowStretch(2, 1);
    keys->setColumnStretch(1, 1);
    auto* body = new QHBoxLayout;
    body->addWidget(Image1);
    body->addSpacing(12);
    body->addLayout(keys, 1);
    QHBoxLayout* buttons = NewButtonRow({Command1, Command2});
    auto* top = new QVBoxLayout(this);
    top->addLayout(body);
    top->addLayout(buttons);

    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { hide(); });
    SetDialogButtons(Command1, Command2);

    ShowKey(0);
    ShowKey(1);
}

void Form6::ShowKey(int key) {
    const int value = state_.SideKeyFunction.at(static_cast<std::size_t>(key));
    (key == 0 ? Combo1 : Combo2)->setCurrentIndex(value >= 0 && value < kFunctions ? value : kOff);
}

void Form6::Command1_Click() {
    state_.SideKeyFunction[0] = Combo1->currentIndex();
    state_.SideKeyFunction[1] = Combo2->currentIndex();
    hide();
}

void Form6::ApplyLanguage(int mode) {
    SetCaption(this, kTitle, mode);
    SetCaption(Command1, kOkCaption, mode);
    SetCaption(Command2, kCancelCaption, mode);
    SetAccessibleDescription(Combo1, kPf1Help, mode);
    SetAccessibleDescription(Combo2, kPf2Help, mode);
    for (QComboBox* list : {Combo1, Combo2})
        for (int i = 0; i < kFunctions; ++i)
            SetItemCaption(list, i, kFunctionItems[static_cast<std::size_t>(i)], mode);
}

} // namespace quelro
