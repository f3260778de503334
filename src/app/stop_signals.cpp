// Stop signals reach the event loop through the handle the system part makes
// ready (a socket on Linux, an event on Windows): nothing else is safe inside
// a signal handler or a console's control handler.
#include "app/stop_signals.h"

#ifdef _WIN32
#include <QWinEventNotifier>
#else
#include <QSocketNotifier>
#endif

#include "app/form1.h"
#include "i18n/platform.h"

namespace quelro {

void EndOnStopSignals(Form1& form) {
    const std::intptr_t handle = CatchStopSignals();
    if (handle == -1) return;
#ifdef _WIN32
    auto* notifier = new QWinEventNotifier(reinterpret_cast<Qt::HANDLE>(handle), &form);
    const auto signal = &QWinEventNotifier::activated;
#else
    auto* notifier =
        new QSocketNotifier(static_cast<qintptr>(handle), QSocketNotifier::Read, &form);
    const auto signal = &QSocketNotifier::activated;
#endif
    QObject::connect(notifier, signal, &form, [&form, notifier, handle] {
        TakeStopSignal(handle);
        notifier->setEnabled(false);
        form.EndWithoutAsking();
    });
}

} // namespace quelro
