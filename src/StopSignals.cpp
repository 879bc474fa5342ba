#include "StopSignals.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#ifdef Q_OS_UNIX
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace {

int s_aiPipe[2] = {-1, -1};

#ifdef Q_OS_UNIX
void onSignal(int)
{
    const char c = 1;
    [[maybe_unused]] const ssize_t n = ::write(s_aiPipe[0], &c, 1);
}
#endif

} // namespace

StopSignals* StopSignals::install()
{
    static StopSignals* s_pInstance = new StopSignals;
    return s_pInstance;
}

StopSignals::StopSignals() : QObject(QCoreApplication::instance())
{
#ifdef Q_OS_UNIX
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, s_aiPipe) != 0)
        return;
    ::fcntl(s_aiPipe[0], F_SETFL, O_NONBLOCK);
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int iSignal : {SIGINT, SIGTERM, SIGHUP})
        ::sigaction(iSignal, &action, nullptr);
    m_pNotifier = new QSocketNotifier(s_aiPipe[1], QSocketNotifier::Read, this);
    connect(m_pNotifier, &QSocketNotifier::activated, this, &StopSignals::readPipe);
#endif
}

void StopSignals::readPipe()
{
#ifdef Q_OS_UNIX
    char ac[16];
    const ssize_t n = ::read(s_aiPipe[1], ac, sizeof(ac));
    for (ssize_t i = 0; i < n; ++i)
        Q_EMIT signalStop(++m_iCount);
#endif
}
