// The password window (Form3).
#include "windows/form3_password.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "i18n/full_width_digits_qt.h"
#include "i18n/local_msgbox_qt.h"

namespace quelro {
namespace {

constexpr Caption kLabel1{"请输入密码", "Password:"};
constexpr std::string_view kAccessCode = "5183";

} // namespace

Form3::Form3(ProgramState& state, const int& language, QWidget* owner)
    : AuxWindow(state, owner, "Form3"), language_(language) {
    setWindowTitle(QStringLiteral("Password"));
    Label1 = NewLabel("请输入密码：", "Label1");
    Text1 = new QLineEdit;
    Text1->setObjectName("Text1");
    Text1->setEchoMode(QLineEdit::Password);
    TakeFullWidthDigits(Text1);
    Command1 = NewButton(kOkCaption, "Command1");

    auto* row = new QHBoxLayout;
    row->addWidget(Text1, 1);
    row->addWidget(Command1);
    auto* top = new QVBoxLayout(this);
    top->addWidget(Label1);
    top->addLayout(row);

    Label1->setBuddy(Text1);
    // Enter in the text box, as anywhere in the window, is OK.
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    SetDialogButtons(Command1, nullptr);
}

void Form3::Command1_Click() {
    if (Text1->text() == FromUtf8(kAccessCode)) {
        state_.ServiceMode = 1;
        emit Unlocked();
    } else {
        ShowMessage(msg::kWrongPassword, language_);
    }
    hide();
}

void Form3::ApplyLanguage(int mode) {
    SetCaption(Label1, kLabel1, mode);
    SetCaption(Command1, kOkCaption, mode);
}

} // namespace quelro
