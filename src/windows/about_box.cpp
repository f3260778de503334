// The about box (frmAbout).
#include "windows/about_box.h"

#include <QDesktopServices>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

#include "i18n/traditional.h"
#include "windows/radio_picture.h"

namespace quelro {
namespace {

constexpr Caption kTitle{"Quelro 对讲机编程软件", "Quelro Radio Software "};
constexpr Caption kVersion{"简体中文版 V1.20", "English version V1.20"};
constexpr Caption kIssue{"发布：2012.01", "Issue：2012.01"};
constexpr Caption kDescription{"Quelro 无线电有限公司  www.quelro.example", ""};
constexpr std::string_view kTraditionalVersion = "繁体中文版 V1.0";

} // namespace

bool OpenInBrowser(const QUrl& url) {
    return QDesktopServices::openUrl(url);
}

frmAbout::frmAbout(ProgramState& state, QWidget* owner, UrlOpener openUrl)
    : AuxWindow(state, owner, "frmAbout"), openUrl_(std::move(openUrl)) {
    setWindowTitle(QStringLiteral("About Quelro"));

    picIcon = new RadioPicture(RadioPicture::Kind::Front, "picIcon");
    picLogo = new RadioPicture(RadioPicture::Kind::Waves, "picLogo");
    lblTitle = NewLabel(kTitle.zh, "lblTitle");
    QFont big = lblTitle->font();
    big.setPointSizeF(big.pointSizeF() * 1.4);
    big.setBold(true);
    lblTitle->setFont(big);
    lblVersion = NewLabel(kVersion.zh, "lblVersion");
    Label2 = NewLabel(kIssue.zh, "Label2");
    lblDescription = NewLabel(kDescription.zh, "lblDescription");
    lblDescription->setCursor(Qt::PointingHandCursor);
    lblDescription->setStyleSheet(QStringLiteral("color: palette(link);"));
    lblDescription->installEventFilter(this);
    cmdOK = NewButton(kOkCaption, "cmdOK");
    cmdOK->setDefault(true);

    auto* pictures = new QVBoxLayout;
    pictures->addWidget(picIcon);
    pictures->addWidget(picLogo);
    pictures->addStretch();
    auto* texts = new QVBoxLayout;
    texts->addWidget(lblTitle);
    texts->addWidget(lblVersion);
    texts->addWidget(Label2);
    texts->addSpacing(12);
    texts->addWidget(lblDescription);
    texts->addStretch();
    auto* body = new QHBoxLayout;
    body->addLayout(pictures);
    body->addSpacing(16);
    body->addLayout(texts, 1);
    auto* top = new QVBoxLayout(this);
    top->addLayout(body);
    top->addLayout(NewButtonRow({cmdOK}));

    connect(cmdOK, &QPushButton::clicked, this, [this] { hide(); });
    SetDialogButtons(cmdOK, nullptr);
}

bool frmAbout::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lblDescription && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton && openUrl_)
        openUrl_(QUrl(QString::fromLatin1(kMakerUrl)));
    return AuxWindow::eventFilter(watched, event);
}

void frmAbout::ApplyTraditionalTexts(bool atStartUp) {
    if (atStartUp) lblTitle->setText(FromUtf8(ToTraditional(kTitle.zh)));
    lblVersion->setText(FromUtf8(ToTraditional(kTraditionalVersion)));
}

void frmAbout::ApplyLanguage(int mode) {
    SetCaption(lblTitle, kTitle, mode);
    SetCaption(lblVersion, kVersion, mode);
    SetCaption(Label2, kIssue, mode);
    SetCaption(lblDescription, kDescription, mode);
    SetCaption(cmdOK, kOkCaption, mode);
}

} // namespace quelro
