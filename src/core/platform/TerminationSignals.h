#pragma once

#include <QObject>

#include <memory>

class QSocketNotifier;

// SIGTERM, SIGHUP and SIGINT (a shutdown, a closed terminal, Ctrl+C) as a Qt
// signal, so that the program ends through its own close like any other way
// out. The handler only writes a byte to a pipe that the event loop reads;
// a handler may call nothing else safely.
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

    // A signal came that the event loop has not read yet.
    bool pending() const;

signals:
    void received();

private:
    void drain();

    int m_readEnd = -1;
    int m_writeEnd = -1;
    int m_previousWriteEnd = -1; // an outer object's pipe, heard again after us
    std::unique_ptr<QSocketNotifier> m_notifier;
};
