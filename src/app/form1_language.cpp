// The main window's language machinery: its own captions, and the switches
// that drive every registered window (the Traditional path converts the
// Chinese texts of each window in place).
#include "app/form1.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolBar>

#include "app/form1_parts.h"
#include "channels/cell_editors_qt.h"
#include "channels/channel_grid_qt.h"
#include "i18n/local_msgbox_qt.h"
#include "i18n/qt_translations_qt.h"

namespace quelro {
using namespace form1;

void Form1::ApplyLanguage(int languageMode) {
    if (languageMode != kSimplified && languageMode != kEnglish) return;
    auto t = [languageMode](const Caption& c) { return ColumnText(c, languageMode); };
    // The file last opened or saved stays in the title.
    setWindowTitle(titleFile_.isEmpty() ? t(caption::kTitle) : Text(kAppTitle) + "-" + titleFile_);
    auto* area = static_cast<QScrollArea*>(centralWidget());
    area->horizontalScrollBar()->setAccessibleName(t(caption::kScrollSideways));
    area->verticalScrollBar()->setAccessibleName(t(caption::kScrollUpDown));
    mnuFile->setTitle(t(caption::kFile));
    mnuNew->setText(t(caption::kNew));
    mnuOpen->setText(t(caption::kOpen));
    mnuAssave->setText(t(caption::kSave));
    mnuQuit->setText(t(caption::kQuit));
    mnupro->setTitle(t(caption::kProgramming));
    mnureadFre->setText(t(caption::kRead));
    mnuwriteFre->setText(t(caption::kWrite));
    mnudtmf->setText(t(caption::kOptional));
    Key_enactment->setText(t(caption::kKeys));
    mnusetin->setText(t(caption::kEmbedded));
    mnudebug->setText(t(caption::kDebug));
    mnutestfre->setText(t(caption::kTestFrequencies));
    mnuset->setTitle(t(caption::kSettings));
    mnulock->setText(t(caption::kLock));
    mnucomMenu->setTitle(t(caption::kPort));
    mnuLanguage->setTitle(t(caption::kLanguages));
    mnuChineseJ->setText(t(caption::kSimplifiedChinese));
    mnuChineseF->setText(t(caption::kTraditionalChinese));
    mnuEnglish->setText(t(caption::kEnglishLanguage));
    mnuhelp->setTitle(t(caption::kHelp));
    mnumainhelp->setText(t(caption::kHelpTopics));
    mnuabout->setText(t(caption::kAbout));
    // An icon-only button is named for a reader by its tooltip.
    auto nameButton = [this](QAction* button, const QString& name, const QString& help) {
        if (QWidget* widget = Toolbar1->widgetForAction(button)) {
            widget->setAccessibleName(name);
            widget->setAccessibleDescription(help);
        }
    };
    for (int i = 0; i < 5; ++i) {
        QAction* button = toolButtons_[i < 3 ? i + 1 : i + 2];
        button->setToolTip(t(caption::kToolTips[i]));
        nameButton(button, t(caption::kToolTips[i]), QString());
    }
    nameButton(TAnMa, t(caption::kServiceExit), t(caption::kServiceExitHelp));
    Frame1->setTitle(t(caption::kModel));
    Frame2->setTitle(t(caption::kFunctionSet));
    Label2->setText(t(caption::kMaker));
    Label3->setText(t(caption::kBand));
    Label4->setText(t(caption::kVoicePrompt));
    Label5->setText(t(caption::kTimeout));
    Label1->setText(t(caption::kTimeoutWarn));
    Label6->setText(t(caption::kSquelch));
    Label7->setText(t(caption::kBatterySave));
    Label8->setText(t(caption::kBeep));
    for (int c = 0; c < kGridCols; ++c) Grid1->SetHeaderText(c, t(kGridHeaders[c]));
    editors_->ApplyLanguage(languageMode);
    // List items are rewritten by position; a list holds what it holds.
    for (int i = 0; i < kMainSelectorCount; ++i)
        for (int item = 0; item < selectors_[i]->count(); ++item)
            selectors_[i]->setItemText(item, QString::fromStdString(MainSelectorItemText(
                                                 kSelectorLists[i], item, languageMode)));
}

void Form1::SetLanguageMode(int languageMode) {
    language_ = languageMode;
    UseQtTranslations(languageMode);
    // The language shown carries the check mark (a reader says "checked").
    mnuChineseJ->setChecked(languageMode == kSimplified);
    mnuEnglish->setChecked(languageMode == kEnglish);
    mnuChineseF->setChecked(languageMode == kTraditional);
}

void Form1::ApplyLanguageToAll() {
    for (LanguagePart* part : parts_) part->ApplyLanguage(LanguageMode());
}

void Form1::TranslateAll() {
    for (LanguagePart* part : parts_) part->Translate();
}

void Form1::SetGrid1Text() {
    Grid1->ShowAll();
}

void Form1::mnuChineseJ_Click() {
    if (LanguageMode() == kSimplified) return;
    SetLanguageMode(kSimplified);
    ApplyLanguageToAll();
    SetGrid1Text();
}

void Form1::mnuEnglish_Click() {
    if (LanguageMode() == kEnglish) return;
    SetLanguageMode(kEnglish);
    ApplyLanguageToAll();
    SetGrid1Text();
}

void Form1::mnuChineseF_Click() {
    if (LanguageMode() == kTraditional) return;
    if (LanguageMode() == kEnglish) {
        // The conversion works on the Chinese texts.
        SetLanguageMode(kSimplified);
        ApplyLanguageToAll();
    }
    SetLanguageMode(kTraditional);
    TranslateAll();
    if (hooks_.traditionalAboutTexts) hooks_.traditionalAboutTexts(false);
    SetGrid1Text();
}

} // namespace quelro
