#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>

class QSocketNotifier;

// A later copy's call to the first: a local socket the first copy listens
// on. A connection that sends nothing is the call "come forward"; one that
// sends a line is a request, which the first copy answers with one line.
// The listener never waits: a call is read as its bytes arrive. A copy that
// is not listening refuses a call at once.
class CallSocket : public QObject {
    Q_OBJECT
public:
    // Sends the one answer (a line, without its end) and ends the call. An
    // answer dropped unsent ends the call too: the caller hears nothing.
    using Answer = std::function<void(const QByteArray& line)>;

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
    // Sends the request line to the copy listening at path and waits, up to
    // the time given, for its answer line. Nothing when no copy took the call
    // or none answered in time.
    static std::optional<QByteArray> ask(const QString& path, const QByteArray& request,
                                         std::chrono::milliseconds wait);

signals:
    void called();
    void asked(const QByteArray& request, const CallSocket::Answer& answer);

private:
    class Caller;
    void answerCalls();
    void hear(QSocketNotifier& notifier, const std::shared_ptr<Caller>& caller);

    QString m_path;
    int m_descriptor = -1;
    std::unique_ptr<QSocketNotifier> m_notifier;
};
