// The embedded-information window (Form7).
#include "windows/form7_embedded_info.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

#include "windows/accessible_names.h"

namespace quelro {
namespace {

constexpr Caption kTitle{"嵌入信息", "Embedded Information"};
// The two boxes stand without labels; a reader names them.
constexpr Caption kLine1{"第1行", "Line 1"};
constexpr Caption kLine2{"第2行", "Line 2"};
constexpr Caption kLineHelp{"最多32个字符", "Up to 32 characters"};
constexpr int kLimit = static_cast<int>(kEmbeddedInfoLength);
constexpr char16_t kLastSingleByte = 0xFF;

// A character the radio can show: one byte, and no control code (a pasted
// tab or line break would be stored as such).
bool Printable(QChar c) {
    return c.unicode() >= 0x20 && c.unicode() != 0x7F && c.unicode() <= kLastSingleByte;
}

} // namespace

LimitedEdit LimitEdit(const QString& before, const QString& after, int limit) {
    // The edit replaced before[prefix, before.size() - suffix) by
    // after[prefix, after.size() - suffix).
    const qsizetype shorter = std::min(before.size(), after.size());
    qsizetype prefix = 0;
    while (prefix < shorter && before[prefix] == after[prefix]) ++prefix;
    qsizetype suffix = 0;
    while (suffix < shorter - prefix &&
           before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix])
        ++suffix;

    const qsizetype kept = prefix + suffix;
    QString added;
    for (QChar c : after.mid(prefix, after.size() - kept))
        if (Printable(c)) added += c;
    added.truncate(std::max<qsizetype>(0, limit - kept));
    return {after.left(prefix) + added + after.right(suffix),
            static_cast<int>(prefix + added.size())};
}

EmbeddedInfoEdit::EmbeddedInfoEdit(int limit, const char* objectName) : limit_(limit) {
    setObjectName(QString::fromLatin1(objectName));
    // Room for a full line of average text.
    setMinimumWidth(fontMetrics().averageCharWidth() * (limit + 4));
    connect(this, &QLineEdit::textChanged, this, &EmbeddedInfoEdit::TextChanged);
}

void EmbeddedInfoEdit::TextChanged(const QString& text) {
    if (correcting_) return;
    const LimitedEdit limited = LimitEdit(accepted_, text, limit_);
    accepted_ = limited.text;
    if (limited.text == text) return;
    correcting_ = true;
    setText(limited.text);
    setCursorPosition(limited.cursor);
    correcting_ = false;
}

Form7::Form7(ProgramState& state, QWidget* owner) : AuxWindow(state, owner, "Form7") {
    setWindowTitle(FromUtf8(kTitle.zh));
    Text1 = new EmbeddedInfoEdit(kLimit, "Text1");
    Text2 = new EmbeddedInfoEdit(kLimit, "Text2");
    Command1 = NewButton(kOkCaption, "Command1");
    Command2 = NewButton(kCancelCaption, "Command2");

    QHBoxLayout* buttons = NewButtonRow({Command1, Command2});
    auto* top = new QVBoxLayout(this);
    top->addWidget(Text1);
    top->addWidget(Text2);
    top->addLayout(buttons);

    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { hide(); });
    SetDialogButtons(Command1, Command2);

    ShowLine(0);
    ShowLine(1);
}

void Form7::ShowLine(int line) {
    const std::string& bytes = state_.EmbeddedInfo.at(static_cast<std::size_t>(line));
    (line == 0 ? Text1 : Text2)->setText(FromUtf8(Utf8FromBytes(bytes)));
}

void Form7::Command1_Click() {
    state_.SetEmbeddedInfo(0, BytesFromUtf8(Text1->text().toStdString()));
    state_.SetEmbeddedInfo(1, BytesFromUtf8(Text2->text().toStdString()));
    hide();
}

void Form7::ApplyLanguage(int mode) {
    SetCaption(this, kTitle, mode);
    SetCaption(Command1, kOkCaption, mode);
    SetCaption(Command2, kCancelCaption, mode);
    SetAccessibleName(Text1, kLine1, mode);
    SetAccessibleName(Text2, kLine2, mode);
    SetAccessibleDescription(Text1, kLineHelp, mode);
    SetAccessibleDescription(Text2, kLineHelp, mode);
}

} // namespace quelro
