#pragma once

#include "gui/widgets/WindowHolder.h"

#include <QObject>

#include <functional>

class ErrorReport;
class Form1;
class Form2;
class Form4;
class Session;

// The program's start: "Loading" is shown, and its timer's one tick loads the
// settings, asks for the install directory when the row holds none (the
// start goes on once "Choose Directory" has stored one), puts Secure Mode's
// pair in place again when it is on, and brings up the main window.
class Startup : public QObject {
    Q_OBJECT
public:
    struct Windows {
        WindowHolder<Form1>& loading;
        WindowHolder<Form2>& main;
        WindowHolder<Form4>& directory;
    };
    // Opens "Choose Directory" on a first start, with the search for games.
    using AskForDirectory = std::function<void()>;

    Startup(Session& session, const ErrorReport& report, Windows windows,
            AskForDirectory askForDirectory);

    // Shows "Loading"; the rest follows its timer's tick.
    void begin();
    // "Choose Directory" has stored the first install directory.
    void directoryChosen();
    // The main window's load has run to its end; a failed load never has.
    bool hasLoaded() const { return m_loaded; }

signals:
    // Loaded, failed or left at "Choose Directory": the start is over.
    void ended();
    // A start in Secure Mode put the pinned pair in place again.
    void secureModeOn();

private:
    void timer1Tick();
    void finishLoad();
    void showMainWindow();

    Session& m_session;
    const ErrorReport& m_report;
    Windows m_windows;
    AskForDirectory m_askForDirectory;
    bool m_loaded = false;
    bool m_asking = false;
};
