#include "core/platform/TerminationSignals.h"

#include <QSocketNotifier>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <iterator>
#include <mutex>
#include <poll.h>
#include <semaphore.h>
#include <thread>
#include <unistd.h>

namespace {

constexpr int handled[] = {SIGTERM, SIGHUP, SIGINT};
// Past this, with no close begun, nothing is left to wait for: the close's
// own deadline would end the program within two seconds of the signal.
constexpr std::chrono::milliseconds answerDeadline{1500};

volatile std::sig_atomic_t writeEnd = -1;
// The pipe made before any object hears it, until one takes it over.
int earlyEnds[2] = {-1, -1};

// The watch's side: the handler posts the semaphore, which a handler may;
// the window thread says when it has begun to end.
sem_t heard;
std::mutex answerLock;
std::condition_variable answerCame;
bool answered = false;

extern "C" void onTerminationSignal(int)
{
    const int savedErrno = errno;
    const char byte = 1;
    // A full pipe already holds a byte the loop will read.
    if (::write(writeEnd, &byte, 1) < 0) {
    }
    ::sem_post(&heard);
    errno = savedErrno;
}

// The window thread may be blocked where no signal reaches it (a session
// bus frozen before the start holds its first show for good): a signal it
// has not answered in time ends the program from here.
void watch()
{
    for (;;) {
        while (::sem_wait(&heard) != 0) {
        }
        std::unique_lock lock(answerLock);
        if (!answerCame.wait_for(lock, answerDeadline, [] { return answered; })) {
            std::fputs("grimtide-switch: the close could not run: the window did not answer the "
                       "signal in time.\n",
                       stderr);
            std::_Exit(EXIT_FAILURE);
        }
    }
}

void startWatching()
{
    static std::once_flag started;
    std::call_once(started, [] {
        ::sem_init(&heard, 0, 0);
        std::thread(watch).detach();
    });
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
    startWatching();
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
    startWatching();
    handleWith(onTerminationSignal);
}

bool TerminationSignals::pending() const
{
    pollfd waiting{m_readEnd, POLLIN, 0};
    const bool signalled = m_readEnd >= 0 && ::poll(&waiting, 1, 0) == 1;
    // Seen before the first window, it ends the start, the program's own way out.
    if (signalled)
        closeBegins();
    return signalled;
}

void TerminationSignals::closeBegins()
{
    const std::lock_guard lock(answerLock);
    answered = true;
    answerCame.notify_all();
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
