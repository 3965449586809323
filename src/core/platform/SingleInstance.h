#pragma once

#include "core/platform/CallSocket.h"
#include "core/platform/InstanceLock.h"

#include <QByteArray>
#include <QObject>
#include <QString>

#include <optional>

// One running copy per settings folder. Two copies in one folder would each
// keep their own record and silently overwrite each other's saves, so the
// first copy holds a lock on "gtdb.inf.lock" and listens on a socket named
// after the folder; a later copy calls it forward and ends, or sends it one
// request and reads its answer (CallSocket). A later copy
// that can't call the first ends all the same: the lock alone says a copy
// runs. Only when no lock can be had at all does a copy run unguarded.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(const QString& folder);
    ~SingleInstance() override;

    // False when another copy runs in the folder.
    bool isFirst() const { return m_first; }
    // That copy took the call forward and shows its window.
    bool firstTookTheCall() const { return m_tookTheCall; }
    // Takes the lock a running copy holds for the folder: its lock file, or
    // where the folder can't hold one, the user's own in the runtime folder.
    static InstanceLock::Outcome lockFolder(InstanceLock& lock, const QString& folder);
    // Gives up the lock and the socket, for an end that runs no destructors.
    void release();
    // The copy running in the folder asked to do something, and its answer
    // line; nothing when no copy there takes the request or answers it in time.
    static std::optional<QByteArray> ask(const QString& folder, const QByteArray& request);

signals:
    void calledForward();
    // A later copy's request, to be answered once.
    void asked(const QByteArray& request, const CallSocket::Answer& answer);

private:
    static QString nameFor(const QString& folder);
    // Where the first copy listens; empty where the user has no runtime folder.
    static QString socketFor(const QString& folder);

    InstanceLock m_lock;
    CallSocket m_socket;
    bool m_first = true;
    bool m_tookTheCall = false;
};
