#include "core/platform/SingleInstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLocalSocket>

namespace {
constexpr int answerMs = 2000;
}

SingleInstance::SingleInstance(const QString& folder)
    : m_lock(QDir(folder).filePath(QStringLiteral("gtdb.inf.lock")))
{
    // Only a live holder counts; a lock whose program is gone is stale at once.
    m_lock.setStaleLockTime(0);
    const QString name = serverName(folder);
    if (m_lock.tryLock(0)) {
        listen(name);
        return;
    }
    // A folder we may not write to (a read-only copy) still runs, unguarded.
    m_first = m_lock.error() != QLockFile::LockFailedError;
    if (!m_first)
        callForward(name);
}

void SingleInstance::release()
{
    m_server.close();
    m_lock.unlock();
}

QString SingleInstance::serverName(const QString& folder)
{
    const QByteArray path = QDir(folder).canonicalPath().toUtf8();
    const QByteArray hash = QCryptographicHash::hash(path, QCryptographicHash::Sha1).toHex();
    return QStringLiteral("grimtide-switch-") + QString::fromLatin1(hash.left(20));
}

void SingleInstance::listen(const QString& name)
{
    // A socket left by a killed copy would refuse the name.
    QLocalServer::removeServer(name);
    m_server.listen(name);
    connect(&m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* caller = m_server.nextPendingConnection())
            caller->deleteLater();
        emit calledForward();
    });
}

void SingleInstance::callForward(const QString& name)
{
    QLocalSocket socket;
    socket.connectToServer(name);
    if (socket.waitForConnected(answerMs))
        socket.disconnectFromServer();
}
