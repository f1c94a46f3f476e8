// A signal handler may only do async-signal-safe work, so it writes one byte
// into a socket pair; the GUI thread notices it and ends the program there.
// A GUI thread busy with a long load would notice it only at the end, so the
// handler also sets an alarm: unless the GUI thread has answered by then, the
// program ends at once, with the status a signal ending it would give.
#include "control/TerminationSignal.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int g_signalSockets[2] = {-1, -1};
volatile std::sig_atomic_t g_nSignal = 0;
// How long the GUI thread may take to notice the request.
constexpr unsigned kAnswerSeconds = 2;

void OnUnansweredSignal(int)
{
    _exit(128 + static_cast<int>(g_nSignal));
}

void OnTerminationSignal(int signal)
{
    g_nSignal = signal;
    const char byte = 1;
    [[maybe_unused]] ssize_t written = write(g_signalSockets[0], &byte, 1);
    alarm(kAnswerSeconds);
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
        alarm(0);
        notifier->setEnabled(false);
        end();
    });
    struct sigaction action {};
    action.sa_handler = OnTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    struct sigaction unanswered {};
    unanswered.sa_handler = OnUnansweredSignal;
    sigemptyset(&unanswered.sa_mask);
    sigaction(SIGALRM, &unanswered, nullptr);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}
