#include "core/platform/SingleInstance.h"

#include "core/platform/RuntimeFolder.h"

#include <QCryptographicHash>
#include <QDir>

InstanceLock::Outcome SingleInstance::lockFolder(InstanceLock& lock, const QString& folder)
{
    const InstanceLock::Outcome outcome =
        lock.take(QDir(folder).filePath(QStringLiteral("gtdb.inf.lock")));
    const QString runtime = RuntimeFolder::path();
    // A folder that can't hold the lock file (read-only, or something else
    // in its place) is still guarded for this user by a lock of their own.
    if (outcome != InstanceLock::Outcome::Unavailable || runtime.isEmpty())
        return outcome;
    return lock.take(runtime + QLatin1Char('/') + nameFor(folder) + QStringLiteral(".lock"));
}

SingleInstance::SingleInstance(const QString& folder)
{
    const InstanceLock::Outcome lock = lockFolder(m_lock, folder);
    const QString socket = socketFor(folder);
    // A lock held by another is a copy alive in the folder, called or not.
    m_first = lock != InstanceLock::Outcome::HeldByAnother;
    if (!m_first)
        m_tookTheCall = !socket.isEmpty() && CallSocket::call(socket);
    else if (lock == InstanceLock::Outcome::Held && !socket.isEmpty())
        m_socket.listen(socket);
    connect(&m_socket, &CallSocket::called, this, &SingleInstance::calledForward);
    connect(&m_socket, &CallSocket::asked, this, &SingleInstance::asked);
}

SingleInstance::~SingleInstance()
{
    release();
}

void SingleInstance::release()
{
    m_socket.close();
    m_lock.release();
}

std::optional<QByteArray> SingleInstance::ask(const QString& folder, const QByteArray& request)
{
    // Long enough for a switch that waits for another program's lock on the
    // settings; the copy answers before any message waits for its OK.
    constexpr std::chrono::seconds answerWait{30};
    const QString socket = socketFor(folder);
    return socket.isEmpty() ? std::nullopt : CallSocket::ask(socket, request, answerWait);
}

QString SingleInstance::socketFor(const QString& folder)
{
    const QString runtime = RuntimeFolder::path();
    return runtime.isEmpty()
               ? QString()
               : runtime + QLatin1Char('/') + nameFor(folder) + QStringLiteral(".socket");
}

QString SingleInstance::nameFor(const QString& folder)
{
    // Every spelling of the folder, through links or not, gets one name.
    const QByteArray path = QDir(folder).canonicalPath().toUtf8();
    const QByteArray hash = QCryptographicHash::hash(path, QCryptographicHash::Sha1).toHex();
    return QStringLiteral("grimtide-switch-") + QString::fromLatin1(hash.left(20));
}
