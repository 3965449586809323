#include "core/platform/CallSocket.h"

#include <QFile>
#include <QSocketNotifier>

#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

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

} // namespace

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

void CallSocket::answerCalls()
{
    bool calledNow = false;
    for (int caller; (caller = ::accept4(m_descriptor, nullptr, nullptr, SOCK_CLOEXEC)) >= 0;) {
        ::close(caller);
        calledNow = true;
    }
    if (calledNow)
        emit called();
}
