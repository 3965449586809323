#include "core/platform/CallSocket.h"

#include <QFile>
#include <QScopeGuard>
#include <QSocketNotifier>

#include <cerrno>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <utility>

namespace {

// False when the path is too long for a socket address.
bool toAddress(const QString& path, sockaddr_un& address)
{
    const QByteArray name = QFile::encodeName(path);
    if (name.isEmpty() || size_t(name.size()) >= sizeof address.sun_path)
        return false;
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, name.constData(), size_t(name.size()) + 1);
    return true;
}

// A new socket and the address of the path, or -1 when either can't be had.
int newSocket(const QString& path, sockaddr_un& address)
{
    if (!toAddress(path, address))
        return -1;
    return ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
}

const sockaddr* generic(const sockaddr_un& address)
{
    return reinterpret_cast<const sockaddr*>(&address);
}

// A request or an answer is a short line; a longer one ends the call.
constexpr qsizetype longestLine = 4096;

// The bytes before the first line end, once one has arrived.
std::optional<QByteArray> firstLine(const QByteArray& received)
{
    const qsizetype end = received.indexOf('\n');
    return end < 0 ? std::nullopt : std::optional(received.left(end));
}

// A read or write that found nothing to do yet, or was cut short by a signal.
bool nothingYet(ssize_t result)
{
    return result < 0 && (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK);
}

} // namespace

// An accepted call, until its request is answered or dropped.
class CallSocket::Caller {
public:
    explicit Caller(int fd) : m_fd(fd) {}
    ~Caller() { ::close(m_fd); }
    Caller(const Caller&) = delete;
    Caller& operator=(const Caller&) = delete;

    int descriptor() const { return m_fd; }
    QByteArray received; // the bytes of its request so far

    void answer(const QByteArray& line)
    {
        if (std::exchange(m_answered, true))
            return;
        const QByteArray text = line + '\n';
        // A short line fits the socket's buffer at once, so the send never waits.
        static_cast<void>(::send(m_fd, text.constData(), size_t(text.size()), MSG_NOSIGNAL));
        ::shutdown(m_fd, SHUT_RDWR);
    }

private:
    int m_fd;
    bool m_answered = false;
};

CallSocket::CallSocket() = default;

CallSocket::~CallSocket()
{
    close();
}

bool CallSocket::listen(const QString& path)
{
    close();
    sockaddr_un address{};
    const int fd = newSocket(path, address);
    if (fd < 0)
        return false;
    ::unlink(address.sun_path);
    if (::bind(fd, generic(address), sizeof address) != 0 || ::listen(fd, SOMAXCONN) != 0) {
        ::close(fd);
        return false;
    }
    m_descriptor = fd;
    m_path = path;
    m_notifier = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, &CallSocket::answerCalls);
    return true;
}

void CallSocket::close()
{
    if (m_descriptor < 0)
        return;
    // The calls not yet heard end with it; one being answered keeps its own.
    for (QSocketNotifier* caller : findChildren<QSocketNotifier*>(Qt::FindDirectChildrenOnly)) {
        caller->setEnabled(false);
        caller->deleteLater();
    }
    m_notifier.reset();
    ::close(m_descriptor);
    ::unlink(QFile::encodeName(m_path).constData());
    m_descriptor = -1;
}

bool CallSocket::call(const QString& path)
{
    sockaddr_un address{};
    const int fd = newSocket(path, address);
    if (fd < 0)
        return false;
    // On a local socket a connect is taken into the listener's queue or
    // refused at once; it never waits for the listener to answer.
    const bool reached = ::connect(fd, generic(address), sizeof address) == 0;
    ::close(fd);
    return reached;
}

std::optional<QByteArray> CallSocket::ask(const QString& path, const QByteArray& request,
                                          std::chrono::milliseconds wait)
{
    sockaddr_un address{};
    const int fd = newSocket(path, address);
    if (fd < 0)
        return std::nullopt;
    const auto closing = qScopeGuard([fd] { ::close(fd); });
    if (::connect(fd, generic(address), sizeof address) != 0)
        return std::nullopt;
    const QByteArray line = request + '\n';
    if (::send(fd, line.constData(), size_t(line.size()), MSG_NOSIGNAL) != line.size())
        return std::nullopt;
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + wait;
    QByteArray received;
    while (!firstLine(received) && received.size() <= longestLine) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        pollfd ready{fd, POLLIN, 0};
        const int polled = left.count() > 0 ? ::poll(&ready, 1, int(left.count())) : 0;
        if (polled < 0 && errno == EINTR)
            continue;
        if (polled <= 0)
            return std::nullopt;
        char buffer[512];
        const ssize_t got = ::recv(fd, buffer, sizeof buffer, 0);
        if (nothingYet(got))
            continue;
        if (got <= 0)
            return std::nullopt;
        received.append(buffer, got);
    }
    return firstLine(received);
}

void CallSocket::answerCalls()
{
    for (int fd;
         (fd = ::accept4(m_descriptor, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK)) >= 0;) {
        auto caller = std::make_shared<Caller>(fd);
        auto* notifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
        connect(notifier, &QSocketNotifier::activated, this,
                [this, notifier, caller] { hear(*notifier, caller); });
    }
}

void CallSocket::hear(QSocketNotifier& notifier, const std::shared_ptr<Caller>& caller)
{
    char buffer[512];
    const ssize_t got = ::recv(caller->descriptor(), buffer, sizeof buffer, 0);
    if (nothingYet(got))
        return;
    if (got > 0)
        caller->received.append(buffer, got);
    const std::optional<QByteArray> request = firstLine(caller->received);
    if (got > 0 && !request && caller->received.size() <= longestLine)
        return;
    // Heard to its end: the notifier goes, and with it this call, unless an
    // answer still holds it.
    notifier.setEnabled(false);
    notifier.deleteLater();
    if (got == 0 && caller->received.isEmpty())
        emit called();
    else if (request)
        emit asked(*request, [caller](const QByteArray& line) { caller->answer(line); });
}
