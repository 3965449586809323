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
    TerminationSignals();
    ~TerminationSignals() override;
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

signals:
    void received();

private:
    void drain();

    int m_readEnd = -1;
    int m_writeEnd = -1;
    int m_previousWriteEnd = -1; // an outer object's pipe, heard again after us
    std::unique_ptr<QSocketNotifier> m_notifier;
};
