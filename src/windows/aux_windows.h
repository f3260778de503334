// AuxWindows: the seven auxiliary windows of the main window as one unit -
// built on first use or all together by CreateAll, owned by the main window,
// shown from its commands, fed by the decoder, and holding the program-wide
// lock of the service functions (the unlock gesture and the service-exit
// button's timing).
#pragma once

#include <QObject>

#include <array>
#include <functional>
#include <vector>

#include "channels/program_state.h"
#include "i18n/language_window_qt.h"
#include "image/memory_image.h"
#include "windows/about_box.h"
#include "windows/form2_service_adjust.h"
#include "windows/form3_password.h"
#include "windows/form4_test_frequencies.h"
#include "windows/form5_optional_functions.h"
#include "windows/form6_key_settings.h"
#include "windows/form7_embedded_info.h"
#include "windows/service_unlock.h"
#include "windows/window_slot.h"

class QWidget;

namespace quelro {

// What the windows need from the main window and the platform.
struct AuxWindowHooks {
    // Shows (true) or hides (false) the main window's toolbar button 7, the
    // service-exit button (key "TAnMa").
    std::function<void(bool visible)> setServiceExitVisible;
    // Clock of the unlock gesture and the service-exit button.
    ServiceClock clock = SteadySeconds;
    // Opens the maker's page and the manual.
    UrlOpener openUrl = OpenInBrowser;
};

class AuxWindows : public QObject {
    Q_OBJECT

  public:
    static constexpr int kWindowCount = 7;

    // Builds no window yet: each is built hidden, copying the store into its
    // controls, when first asked for. `state` and `mainWindow` must outlive
    // this object; the windows are children of `mainWindow`, this object too.
    // `language` is the main window's, the language of the windows' messages.
    AuxWindows(ProgramState& state, const int& language, QWidget* mainWindow,
               AuxWindowHooks hooks = {});

    // Builds every window not built yet, in the order below.
    void CreateAll();

    // The windows in the language machinery's order after Form1: Form2, Form3,
    // Form4, Form5, Form6, Form7, frmAbout. A window not built yet keeps the
    // language steps for when it is.
    std::array<LanguageWindow*, kWindowCount> LanguageWindows();

    // Menu commands of the main window; each window is shown modeless.
    void ShowServiceAdjust();     // mnudebug: Form2
    void ShowTestFrequencies();   // mnutestfre: Form4
    void ShowOptionalFunctions(); // mnudtmf: Form5
    void ShowKeySettings();       // Key_enactment: Form6
    void ShowEmbeddedInfo();      // mnusetin: Form7
    void ShowAbout();             // mnuabout: frmAbout, above the main window
    void OpenHelp();              // mnumainhelp, F1: the manual in the browser

    // After DecodeImage: writes each decoded setting from the store into its
    // control, in the decoder's order (a decoded "Fixed" priority mode runs
    // the search and the check, with their messages). Band steps belong to
    // the main window and are passed over.
    void ShowDecoded(const std::vector<DecodeStep>& steps);

    // The about box's texts of the Traditional path, after TranslateForm has
    // converted every window: the version line, and at start-up the title.
    void ApplyTraditionalAboutTexts(bool atStartUp);

    // One click on toolbar button 7: a second click less than a second after
    // the first relocks the service functions (see Relock).
    void ServiceExitClicked();
    // Relocks the service functions at once: the gesture's marks and unlocked
    // state cleared, Form2's sliders disabled, ServiceMode 0, button 7 hidden.
    void Relock();

    // Each window, built if it does not exist yet.
    Form2* form2() { return &form2_.Get(); }
    Form3* form3() { return &form3_.Get(); }
    Form4* form4() { return &form4_.Get(); }
    Form5* form5() { return &form5_.Get(); }
    Form6* form6() { return &form6_.Get(); }
    Form7* form7() { return &form7_.Get(); }
    frmAbout* about() { return &about_.Get(); }

  private:
    void UnlockLabelClicked(int label);
    void SetServiceExitVisible(bool visible);

    ProgramState& state_;
    const int& language_;
    QWidget* mainWindow_;
    AuxWindowHooks hooks_;
    UnlockGesture gesture_;
    ServiceExitTiming exitTiming_;
    WindowSlot<Form2> form2_;
    WindowSlot<Form3> form3_;
    WindowSlot<Form4> form4_;
    WindowSlot<Form5> form5_;
    WindowSlot<Form6> form6_;
    WindowSlot<Form7> form7_;
    WindowSlot<frmAbout> about_;
};

} // namespace quelro
