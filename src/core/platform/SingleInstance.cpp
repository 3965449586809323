#include "core/platform/SingleInstance.h"

#include "core/platform/RuntimeFolder.h"

#include <QCryptographicHash>
#include <QDir>

SingleInstance::SingleInstance(const QString& folder)
{
    const QString runtime = RuntimeFolder::path();
    const QString lockFile = QDir(folder).filePath(QStringLiteral("gtdb.inf.lock"));
    InstanceLock::Outcome lock = m_lock.take(lockFile);
    if (runtime.isEmpty())
        return;
    const QString own = runtime + QLatin1Char('/') + nameFor(folder);
    // A folder that can't hold the lock file (read-only, or something else
    // in its place) is still guarded for this user by a lock of their own.
    if (lock == InstanceLock::Outcome::Unavailable)
        lock = m_lock.take(own + QStringLiteral(".lock"));
    const QString socket = own + QStringLiteral(".socket");
    if (lock == InstanceLock::Outcome::Held)
        m_socket.listen(socket);
    else if (lock == InstanceLock::Outcome::HeldByAnother)
        m_first = !CallSocket::call(socket);
    connect(&m_socket, &CallSocket::called, this, &SingleInstance::calledForward);
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

QString SingleInstance::nameFor(const QString& folder)
{
    // Every spelling of the folder, through links or not, gets one name.
    const QByteArray path = QDir(folder).canonicalPath().toUtf8();
    const QByteArray hash = QCryptographicHash::hash(path, QCryptographicHash::Sha1).toHex();
    return QStringLiteral("grimtide-switch-") + QString::fromLatin1(hash.left(20));
}
