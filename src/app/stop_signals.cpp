// Stop signals through a socket pair: the handler only writes a byte, which
// the event loop reads and acts on (nothing else is safe inside a handler).
#include "app/stop_signals.h"

#include <QSocketNotifier>

#include "app/form1.h"

#if defined(__unix__)
#include <fcntl.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace quelro {

#if defined(__unix__)
namespace {

int signalSocket[2] = {-1, -1};

extern "C" void OnStopSignal(int) {
    const char byte = 1;
    // Nothing to do when the byte cannot go: one is already waiting.
    [[maybe_unused]] const ssize_t sent = ::write(signalSocket[0], &byte, 1);
}

} // namespace

void EndOnStopSignals(Form1& form) {
    if (signalSocket[0] >= 0 || ::socketpair(AF_UNIX, SOCK_STREAM, 0, signalSocket) != 0) return;
    // A handler never waits on a full socket.
    ::fcntl(signalSocket[0], F_SETFL, ::fcntl(signalSocket[0], F_GETFL) | O_NONBLOCK);
    auto* notifier = new QSocketNotifier(signalSocket[1], QSocketNotifier::Read, &form);
    QObject::connect(notifier, &QSocketNotifier::activated, &form, [&form, notifier] {
        char byte = 0;
        [[maybe_unused]] const ssize_t read = ::read(signalSocket[1], &byte, 1);
        notifier->setEnabled(false);
        form.EndWithoutAsking();
    });
    struct sigaction action = {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) ::sigaction(signal, &action, nullptr);
}

#else

void EndOnStopSignals(Form1&) {}

#endif

} // namespace quelro
