#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QString>

// One running copy per settings file. Two copies in one folder would each
// keep their own record and silently overwrite each other's saves, so the
// first copy holds a lock beside "gtdb.inf" and listens on a local socket
// named after the folder; a later copy calls it forward and ends. A lock
// left by a copy that was killed is taken over.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(const QString& folder);

    // False when another copy runs in the folder; it has been called forward.
    bool isFirst() const { return m_first; }
    // Gives up the lock, for an end that runs no destructors.
    void release();

signals:
    void calledForward();

private:
    static QString serverName(const QString& folder);
    void listen(const QString& name);
    static void callForward(const QString& name);

    QLockFile m_lock;
    QLocalServer m_server;
    bool m_first = true;
};
