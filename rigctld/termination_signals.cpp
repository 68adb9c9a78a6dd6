#include "rigctld/termination_signals.h"

#include <QCoreApplication>

#include <cstdio>

#ifdef _WIN32
#include <windows.h>
#else
#include <QSocketNotifier>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace vexa {

namespace {

void quitSoon()
{
    QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit,
                              Qt::QueuedConnection);
}

#ifdef _WIN32

// Runs on a thread of its own, where posting to the event loop is allowed.
BOOL WINAPI onConsoleEvent(DWORD event)
{
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT)
        return FALSE;
    quitSoon();
    return TRUE;
}

#else

// A signal handler may only write to a descriptor; the event loop reads the
// other end of the pair.
int signalPair[2] = {-1, -1};

void onSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(signalPair[0], &byte, 1);
}

#endif

} // namespace

void quitOnTerminationSignals()
{
#ifdef _WIN32
    if (!SetConsoleCtrlHandler(onConsoleEvent, TRUE))
        std::fprintf(stderr, "vexa-sdr-rigctld: no Ctrl+C handling (error %lu)\n",
                     GetLastError());
#else
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPair) != 0) {
        std::perror("vexa-sdr-rigctld: no signal handling");
        return;
    }
    auto* notifier =
        new QSocketNotifier(signalPair[1], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, [] { quitSoon(); });
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : {SIGINT, SIGTERM})
        if (::sigaction(signal, &action, nullptr) != 0)
            std::perror("vexa-sdr-rigctld: no signal handling");
#endif
}

} // namespace vexa
