// Form1, the main window and the program: the channel grid with its editors,
// the band and function panels, the menus and toolbar, the lock, the data
// files, the `parameter` file and the language machinery that drives every
// window of the program.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <QUrl>

#include <array>
#include <functional>
#include <vector>

#include "channels/program_state.h"
#include "i18n/language_window_qt.h"
#include "image/memory_image.h"
#include "windows/window_transfer_view_qt.h"

class QAction;
class QComboBox;
class QGroupBox;
class QLabel;
class QMenu;
class QProgressBar;
class QScrollArea;
class QToolBar;

namespace quelro {

class CellEditors;
class ChannelGrid;

class Form1 : public QMainWindow, public LanguageWindow {
    Q_OBJECT

  public:
    // Commands that live outside this window. Each is called by its menu item
    // or toolbar button; an unset one does nothing.
    struct Hooks {
        std::function<void()> readRadio;             // mnureadFre, toolbar "read"
        std::function<void()> writeRadio;            // mnuwriteFre, toolbar "write"
        std::function<void()> showOptionalFunctions; // mnudtmf (Form5)
        std::function<void()> showKeySettings;       // Key_enactment (Form6)
        std::function<void()> showEmbeddedInfo;      // mnusetin (Form7)
        std::function<void()> showServiceAdjust;     // mnudebug (Form2)
        std::function<void()> showTestFrequencies;   // mnutestfre (Form4)
        std::function<void()> showAbout;             // mnuabout (frmAbout)
        std::function<void()> showHelp;              // mnumainhelp, F1
        // Opens serial port 1..8 (closing whichever is open); true when it
        // opened. Unset: every port counts as opened.
        std::function<bool(int)> openPort;
        // The whole port command of a serial layer (marks, message, SavedPort):
        // given the port and SavedPort, returns the new SavedPort. When set it
        // replaces this window's own handling with openPort.
        std::function<int(int port, int savedPort)> selectPort;
        // The settings an image decode wrote, for the auxiliary windows.
        std::function<void(const std::vector<DecodeStep>&)> decoded;
        // The about box's own texts of the Traditional path, after every window
        // was converted: its version line, and at start-up its title too.
        std::function<void(bool atStartUp)> traditionalAboutTexts;
        // A click on the service-exit button (toolbar button 7, key "TAnMa").
        std::function<void()> serviceExit;
        // The file dialog: returns the chosen name, empty when cancelled.
        std::function<QString(bool save, const QString& current)> chooseFileName;
        // Opens a web address (Label2).
        std::function<void(const QUrl&)> openUrl;
        // Asked before the table is given up for another file or the window
        // closes; false keeps it. Unset: nothing is asked.
        std::function<bool()> confirmDiscard;
    };

    // Application name and desktop identity, so that the configuration
    // folder is ~/.config/quelro, and the wheel rule of every drop-down list.
    // Call once after creating the application.
    static void SetUpApplication();
    // The windows' icon, which decodes an image: wanted soon, not for the
    // first paint.
    static void SetUpWindowIcon();
    // Where the `parameter` file lives; empty when there is no configuration
    // folder.
    static QString ParameterFilePath();

    explicit Form1(ProgramState& state, QWidget* parent = nullptr);
    ~Form1() override;

    Hooks& hooks() { return hooks_; }
    ProgramState& State() { return state_; }

    // The window's start-up: grid shape, `parameter` file, start values,
    // language (over every registered window), saved port, time-out list,
    // band 0, channel numbers and the selectors' start positions. Register
    // the other windows first.
    void Form_Load();

    // Windows join the language machinery in the order Form2, Form3, Form4,
    // Form5, Form6, Form7, frmAbout (Form1 itself is always first); the
    // menus and commands added to this window join after them as parts.
    void RegisterWindow(LanguageWindow* window);
    void RegisterPart(LanguagePart* part);

    // LanguageWindow: this window's rows of the caption table.
    QWidget* Window() override { return this; }
    void ApplyLanguage(int languageMode) override;

    // The language everything is shown in; the window's parts hold on to it.
    const int& LanguageMode() const { return language_; }
    int SavedPort() const { return savedPort_; }
    // The data file last opened or saved (the one in the title); empty before.
    const QString& FileName() const { return titleFile_; }
    // Nothing may edit the table: the lock is set, or a clone run lasts.
    bool Locked() const;
    // A clone run: the grid, the band panel, the lock command and every
    // editing command are locked while it lasts.
    void SetBusy(bool busy);
    // Run first by every command that changes or replaces the table: ends an
    // open cell editor on its own cell (as Enter does); true when the table
    // may be changed.
    bool ReadyToChange();
    // Ends the program without asking about unsaved work (a stop signal, when
    // nobody may be there to answer): as the close box, then the event loop ends.
    void EndWithoutAsking();

    // Commands, as the menu items and toolbar buttons run them.
    void mnuNew_Click();
    void OpenDataFile();
    // Read from the radio, after the question when the table holds unsaved work.
    void ReadRadio();
    void SaveDataFile();
    void mnulock_Click();
    void SelectPort(int port);
    void mnuChineseJ_Click();
    void mnuEnglish_Click();
    void mnuChineseF_Click();
    void Toolbar1_ButtonClick(const QString& key);
    void Label2_Click();

    // The band handler, run whenever Combo1's position is set.
    void Combo1_Click();
    // Sets Combo1's position as the program does (the handler runs).
    void SelectBand(int position);
    // Makes `position` the confirmed band and selects it: no question.
    void SelectBandSilently(int position);

    // After the store was decoded: shows the channels, selects the decoded
    // band silently, sets the six selectors and hands the steps on.
    void ShowDecodedState(const std::vector<DecodeStep>& steps);
    // A read from the radio: decodes radio memory 0x0010-0x040F (hex), shows
    // it and selects the radio's band silently.
    void ShowReadImage(const std::string& readImage, int radioBand);

    // Toolbar button by position 1..7 (4 is the separator).
    QAction* Toolbar1Button(int position) const { return toolButtons_.at(position); }
    QAction* mnucom(int port) const { return mnucom_.at(port); }
    // The controls a transfer locks, reports in and gives the focus back to.
    TransferWidgets TransferParts() const;
    // The editors laid over the grid.
    CellEditors& Editors() const { return *editors_; }
    // The six general-setting selectors in MainSetting order.
    QComboBox* MainSelector(int index) const { return selectors_.at(index); }

    // The controls, named as in the window's design.
    QToolBar* Toolbar1;
    ChannelGrid* Grid1;
    QGroupBox* Frame1;
    QLabel* Label3;
    QComboBox* Combo1;
    QGroupBox* Frame2;
    QLabel* Label4;
    QComboBox* Combo2;
    QLabel* Label5;
    QComboBox* Combo3;
    QLabel* Label1;
    QComboBox* Combo4;
    QLabel* Label6;
    QComboBox* Combo9;
    QLabel* Label7;
    QComboBox* Combo6;
    QLabel* Label8;
    QComboBox* Combo7;
    QLabel* Label;
    QLabel* Label2;
    QProgressBar* ProgressBar1;
    QAction* TAnMa;

    QMenu* mnuFile;
    QAction* mnuNew;
    QAction* mnuOpen;
    QAction* mnuAssave;
    QAction* mnuQuit;
    QMenu* mnupro;
    QAction* mnureadFre;
    QAction* mnuwriteFre;
    QAction* mnudtmf;
    QAction* Key_enactment;
    QAction* mnusetin;
    QAction* mnudebug;
    QAction* mnutestfre;
    QMenu* mnuset;
    QAction* mnulock;
    QMenu* mnucomMenu;
    QMenu* mnuLanguage;
    QAction* mnuChineseJ;
    QAction* mnuChineseF;
    QAction* mnuEnglish;
    QMenu* mnuhelp;
    QAction* mnumainhelp;
    QAction* mnuabout;

  signals:
    // The table holds what a file holds (open): nothing in it is the user's
    // unsaved work, and there is nothing to undo.
    void TableReplaced();
    // The user changed the table: a cell edit, New, a confirmed band change.
    void TableChanged();
    // The radio's programming replaced the table: an undo step, and what
    // the table holds is kept in the radio.
    void TableRead();
    // The table was written to a data file.
    void Saved();
    // The lock was set or released: while locked nothing edits the table.
    void LockChanged(bool locked);

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void BuildMenus();
    void BuildToolbar();
    void BuildPanels(QWidget* client);
    // The central widget: `client` in an area that scrolls.
    QScrollArea* NewClientArea(QWidget* client);
    void PlaceControls();
    // The whole design, or as much as the screen holds (the rest scrolls),
    // in the middle of the screen.
    void FitToScreen();
    void SetLanguageMode(int languageMode);
    void ApplyLanguageToAll();
    void TranslateAll();
    void SetGrid1Text();
    void Run(const std::function<void()>& hook) const;
    // As ReadyToChange for New, Open and Read, which replace the table even
    // while the lock is set; only a clone run keeps them out.
    bool ReadyToReplace();

    ProgramState& state_;
    int language_ = kSimplified;
    Hooks hooks_;
    CellEditors* editors_ = nullptr;
    QWidget* client_ = nullptr;
    std::array<QAction*, 8> toolButtons_{};
    std::array<QAction*, 9> mnucom_{};
    std::array<bool, 9> portMarks_{};
    std::array<QComboBox*, 6> selectors_{};
    std::vector<LanguagePart*> parts_;
    QString fileName_;
    QString titleFile_; // the file last opened or saved, shown in the title
    int savedPort_ = 0;
    bool busy_ = false;
    bool asking_ = true; // the unsaved-work question on closing
    bool ended_ = false; // the window was closed for good
};

} // namespace quelro
