#pragma once

#include "core/app/GamePlay.h"
#include "core/app/Session.h"
#include "core/common/ErrorReport.h"
#include "gui/app/MessageRelay.h"
#include "gui/app/Startup.h"
#include "gui/widgets/WindowHolder.h"

#include <QObject>
#include <QString>

#include <functional>
#include <optional>

class GameFileWriter;
class MessageSink;
class TrayBackend;
class Form1;
class Form2;
class Form3;
class Form4;

// Where the program is put together: the Session, the four windows (each
// made on first use and reached by the others only through here), the
// start-up, and the tray. It wires the windows' requests to each other and
// to the end of the program.
class Module1 : public QObject {
    Q_OBJECT
public:
    struct Services {
        MessageSink& sink;
        GameFileWriter& gameFiles;
        TrayBackend& tray;
        QString databaseFile;
        std::function<void()> endProgram; // stops the process at once
    };

    explicit Module1(Services services);
    ~Module1() override;

    // Shows "Loading"; its timer loads the main window once the event loop runs.
    void start();
    Session& session() { return m_session; }
    const Startup& startup() const { return m_startup; }
    Form2& mainWindow();
    // As the player's close of the main window: the save, the icon, the end.
    // Before the main window has loaded, the program ends unsaved.
    void closeMainWindow();
    // Another copy was started in this folder: the player wants this one.
    void bringForward();
    // Another copy's --play: the mode's option clicked in the main window,
    // as the player would (none: the mode the row holds), then the game
    // started. The answer comes once, before any message waits for its OK.
    using PlayAnswer = std::function<void(const GamePlay::Outcome& outcome)>;
    void play(std::optional<GameMode> mode, const PlayAnswer& answer);

private:
    Form2* makeMainWindow();
    Form3* makeCrosshairChooser();
    Form4* makeInstallDirectoryChooser();
    void openCrosshairChooser();
    void openInstallDirectoryChooser(bool firstStart);
    void showSecureAppearance(bool secure);
    void closeOtherWindows();

    Services m_services;
    MessageRelay m_relay; // every command's messages, in front of the services' sink
    ErrorReport m_report;
    Session m_session;
    // Secure Mode's last word on the chooser's appearance, for the chooser
    // that exists or the next one made; none since it was last made.
    std::optional<bool> m_chooserAppearance;
    WindowHolder<Form1> m_form1;
    WindowHolder<Form2> m_form2;
    WindowHolder<Form3> m_form3;
    WindowHolder<Form4> m_form4;
    Startup m_startup;
};
