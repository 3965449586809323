#include "core/platform/TerminationSignals.h"

#include <QSocketNotifier>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <iterator>
#include <poll.h>
#include <unistd.h>

namespace {

constexpr int handled[] = {SIGTERM, SIGHUP, SIGINT};

volatile std::sig_atomic_t writeEnd = -1;
// The pipe made before any object hears it, until one takes it over.
int earlyEnds[2] = {-1, -1};

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

void TerminationSignals::catchEarly()
{
    if (earlyEnds[0] >= 0 || ::pipe2(earlyEnds, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    writeEnd = earlyEnds[1];
    handleWith(onTerminationSignal);
}

TerminationSignals::TerminationSignals()
{
    int ends[2];
    if (earlyEnds[0] >= 0) {
        std::copy(std::begin(earlyEnds), std::end(earlyEnds), ends);
        earlyEnds[0] = earlyEnds[1] = -1;
    } else if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) == 0) {
        m_previousWriteEnd = writeEnd;
    } else {
        return;
    }
    m_readEnd = ends[0];
    m_writeEnd = ends[1];
    m_notifier = std::make_unique<QSocketNotifier>(m_readEnd, QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, &TerminationSignals::drain);
    writeEnd = m_writeEnd;
    handleWith(onTerminationSignal);
}

bool TerminationSignals::pending() const
{
    pollfd waiting{m_readEnd, POLLIN, 0};
    return m_readEnd >= 0 && ::poll(&waiting, 1, 0) == 1;
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
