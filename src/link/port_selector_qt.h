// SelectPort for COM1..COM8: the check marks of the mnucom items, closing the
// open port before opening the chosen one, SavedPort kept only when the open
// succeeded, the adapter picked remembered, and a message that says why it
// did not (no device stands for the
// port number, the device is missing, the user lacks its group, another
// program holds it: only then the in-use message, a stale lock file).
#pragma once

#include <QString>

#include <filesystem>
#include <functional>
#include <optional>

#include "channels/program_state.h"
#include "link/port_map.h"
#include "link/serial_link_qt.h"

namespace quelro {

class PortSelector {
  public:
    struct Callbacks {
        // Puts or removes the check mark of menu item mnucomN.
        std::function<void(int port, bool checked)> setChecked;
        // Shows a message (information icon, OK, empty title).
        std::function<void(const QString& prompt, BoxStyle style)> showMessage;
    };

    // `language` is the owner's: the language of the texts. `configFolder` holds the `ports` and
    // `adapter` files; empty: the application's configuration folder, looked
    // up each time. `paths` is where devices are identified.
    PortSelector(SerialLink& link, const int& language, Callbacks callbacks,
                 std::filesystem::path configFolder = {},
                 SystemPaths paths = SystemPaths::FromEnvironment());

    struct Opened {
        bool ok = false;
        // When !ok: why, in the current language (OpenProblemText).
        QString message;
    };
    // Closes the open port and opens port n; no marks, no message, SavedPort
    // untouched. (SelectPort is this plus the marks, SavedPort and message.)
    Opened Open(int n);

    // The mnucomN command (N = 1..8). A USB adapter opened so is remembered
    // by its /dev/serial/by-id path (any other device forgets it).
    void SelectPort(int n);
    // At start-up: the port under which the remembered adapter is found now,
    // else SavedPort (see StartUpPort); nothing when that is outside 1..8.
    void SelectSavedPort();

    int SavedPort() const { return savedPort_; }
    void SetSavedPort(int port) { savedPort_ = port; }
    // The item carrying the check mark, 0 for none.
    int CheckedPort() const { return checked_; }

    // The device port n stands for, and the status tip of its menu item.
    std::optional<PortDevice> Device(int n) const;
    QString StatusTip(int n) const;

  private:
    void SetChecked(int port, bool checked);
    void Select(int n, bool remember);
    std::filesystem::path ConfigFolder() const;

    SerialLink& link_;
    const int& language_;
    Callbacks callbacks_;
    std::filesystem::path configFolder_;
    SystemPaths paths_;
    int savedPort_ = 0;
    int checked_ = 0;
    int lostPort_ = 0; // the marked port whose device went away
};

// The application's configuration folder (holds `parameter` and `ports`).
std::filesystem::path LinkConfigFolder();
// Paths of the serial devices the system lists.
std::vector<std::string> SerialDevicesPresent();

} // namespace quelro
