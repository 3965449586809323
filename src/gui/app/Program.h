#pragma once

#include "core/gamefiles/GameFiles.h"
#include "core/platform/SingleInstance.h"
#include "core/platform/TerminationSignals.h"
#include "gui/app/Module1.h"
#include "gui/widgets/MessageBoxSink.h"

class TrayBackend;

// The program as main() starts it: the application's look, the real message
// boxes and game files, and the module the windows share. The tray comes from the
// caller, so a benchmark can hear when the icon is added. A termination
// signal or the end of the desktop session closes the main window, which
// saves, as the player's own close would; but nobody may be there to read a
// box then, so its messages go to standard error, the program ends within
// two seconds, and with a failure's status when anything failed. A later
// copy's --play is played here, in the window, and answered.
class Program : private MessageSink {
public:
    // Once, after the QApplication is made.
    static void configureApplication();

    explicit Program(TrayBackend& tray);

    // Shows "Loading"; its timer loads the main window once the event loop
    // runs. False when another copy already runs in this folder: that copy
    // has been called forward instead (or, where it can't be called, this
    // one says so on standard error), and this one should end.
    bool start();
    Module1& module() { return m_module; }

private:
    // The main window's close, run once however often it is asked for.
    void closeForGood();
    void play(const QByteArray& request, const CallSocket::Answer& answer);
    void show(const QString& text) override;
    void showWithOffer(const QString& text, const Offer& offer) override;

    SingleInstance m_instance;
    TerminationSignals m_signals;
    MessageBoxSink m_boxes;
    GameFiles m_gameFiles;
    Module1 m_module;
    bool m_closing = false; // with nobody there to read a box
    bool m_reported = false;
};
