#pragma once

#include <QObject>

#include <memory>

class QSocketNotifier;

// SIGTERM, SIGHUP and SIGINT (a shutdown, a closed terminal, Ctrl+C) as a Qt
// signal, so that the program ends through its own close like any other way
// out. The handler only writes a byte to a pipe that the event loop reads and
// wakes a watching thread; a handler may do nothing else safely. Whatever
// blocks the window thread, the program ends: when its close has not begun
// about 1.5 s after a signal, the watching thread ends the process with
// status 1 and a line on standard error.
class TerminationSignals : public QObject {
    Q_OBJECT
public:
    // Catches the signals from now on, before any object hears them, so that
    // one in the program's first moments waits in the pipe instead of ending
    // the program by the signal. The next object made takes the pipe over.
    static void catchEarly();

    TerminationSignals();
    ~TerminationSignals() override;
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

    // A signal came that the event loop has not read yet. Seen here, it
    // counts as answered: the caller ends the start.
    bool pending() const;
    // The window thread has begun its close: a signal needs no more watch.
    static void closeBegins();

signals:
    void received();

private:
    void drain();

    int m_readEnd = -1;
    int m_writeEnd = -1;
    int m_previousWriteEnd = -1; // an outer object's pipe, heard again after us
    std::unique_ptr<QSocketNotifier> m_notifier;
};
