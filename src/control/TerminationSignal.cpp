// A signal handler may only do async-signal-safe work, so it writes one byte
// into a socket pair; the GUI thread notices it and ends the program there.
#include "control/TerminationSignal.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int g_signalSockets[2] = {-1, -1};

void OnTerminationSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] ssize_t written = write(g_signalSockets[0], &byte, 1);
}

} // namespace

void EndOnTerminationSignal(std::function<void()> end)
{
    if (socketpair(AF_UNIX, SOCK_STREAM, 0, g_signalSockets) != 0)
        return;
    auto* notifier = new QSocketNotifier(g_signalSockets[1], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [notifier, end] {
        char byte = 0;
        [[maybe_unused]] ssize_t bytesRead = read(g_signalSockets[1], &byte, 1);
        notifier->setEnabled(false);
        end();
    });
    struct sigaction action {};
    action.sa_handler = OnTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}
