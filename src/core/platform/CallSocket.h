#pragma once

#include <QObject>
#include <QString>

#include <memory>

class QSocketNotifier;

// The call "come forward" from a later copy to the first: a local socket the
// first copy listens on. Nothing is sent; a connection is the call. Neither
// side ever waits: a copy that is not listening refuses the call at once.
class CallSocket : public QObject {
    Q_OBJECT
public:
    CallSocket();
    ~CallSocket() override;

    // Listens at path, in place of whatever a killed copy left there; the
    // caller holds the lock that says no live copy listens there. False when
    // no socket can be made at the path.
    bool listen(const QString& path);
    // Stops listening and removes the socket.
    void close();
    // True when a copy listening at path took the call.
    static bool call(const QString& path);

signals:
    void called();

private:
    void answerCalls();

    QString m_path;
    int m_descriptor = -1;
    std::unique_ptr<QSocketNotifier> m_notifier;
};
