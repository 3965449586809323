#include "core/platform/TerminationSignals.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr int handled[] = {SIGTERM, SIGHUP, SIGINT};

volatile std::sig_atomic_t writeEnd = -1;

extern "C" void onTerminationSignal(int)
{
    const int savedErrno = errno;
    const char byte = 1;
    // A full pipe already holds a byte the loop will read.
    if (::write(writeEnd, &byte, 1) < 0) {
    }
    errno = savedErrno;
}

void handleWith(void (*handler)(int))
{
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int number : handled)
        ::sigaction(number, &action, nullptr);
}

} // namespace

TerminationSignals::TerminationSignals()
{
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    m_readEnd = ends[0];
    m_writeEnd = ends[1];
    m_notifier = std::make_unique<QSocketNotifier>(m_readEnd, QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, &TerminationSignals::drain);
    m_previousWriteEnd = writeEnd;
    writeEnd = m_writeEnd;
    handleWith(onTerminationSignal);
}

TerminationSignals::~TerminationSignals()
{
    if (m_readEnd < 0)
        return;
    writeEnd = m_previousWriteEnd;
    if (m_previousWriteEnd < 0)
        handleWith(SIG_DFL);
    m_notifier.reset();
    ::close(m_readEnd);
    ::close(m_writeEnd);
}

void TerminationSignals::drain()
{
    char bytes[16];
    while (::read(m_readEnd, bytes, sizeof bytes) > 0) {
    }
    emit received();
}
