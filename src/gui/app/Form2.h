#pragma once

#include "core/common/ErrorReport.h"
#include "core/mode/ModeFiles.h"
#include "core/settings/SettingsRecord.h"
#include "gui/widgets/ProgramWindow.h"

#include <optional>

class MainWindowTray;
class MessageSink;
class QAction;
class QCheckBox;
class QLabel;
class QMenu;
class QMenuBar;
class QRadioButton;
class Session;
class TrayBackend;
class Twips;

// "Grimtide Switch", the main window: the game's mode, the packs, the
// pictures of the crosshair and reticle, Secure Mode, and the tray icon with
// its menu. Its handlers arm their traps and call the Session; what it shows
// is drawn from the Session's record once a change is done. Each control is
// named (objectName) as in the window's table. The other windows are opened
// and closed by whoever put the program together, on its signals.
class Form2 : public ProgramWindow {
    Q_OBJECT
public:
    Form2(Session& session, const ErrorReport& report, MessageSink& sink, TrayBackend& tray);

    // The end of the start-up: the controls from the record, the pictures,
    // the window on the screen and the tray icon. From now on the window
    // follows every change of the record.
    void showLoaded();
    MainWindowTray& tray() { return *m_tray; }
    // `mimgset`: the two pictures of the crosshair and reticle, from Secure
    // Mode and the two choices.
    void mimgset();
    // Another copy's --play asks for the mode: the option is clicked, as the
    // player would, with the switch's messages and save.
    void clickOption(GameMode mode);

signals:
    void crosshairChooserRequested();
    void installDirectoryChooserRequested();
    // Secure Mode was switched: the chooser takes on its appearance.
    void secureModeSwitched(bool on);
    // On the way out, before the save: the other windows close.
    void leaving();
    void endRequested();

protected:
    void unload() override;

private:
    void createControls(Twips& twips, QWidget* area);
    void createMenus();
    void connectCommands();
    void showRecord();
    void showMode(GameMode mode);
    void showPictures();

    // The handlers.
    void optionClick(GameMode mode);
    void switchMode(GameMode mode); // msetp, msetu
    void packClick(ExpansionPack pack, bool ticked);
    void check4Click(bool ticked);
    void trayModeItem(GameMode mode);
    void leave(const QString& tag, bool evenAfterFailure);

    Session& m_session;
    const ErrorReport& m_report;
    MessageSink& m_sink;
    MainWindowTray* m_tray = nullptr;
    bool m_loaded = false;
    // What the pictures were last drawn from: Secure Mode and the two choices.
    std::optional<SettingsRecord> m_pictured;

    // Label4 shows `status` under the caption Label1.
    QLabel* Label1;
    QLabel* Label4;
    // Label7 shows `rtr` and Label8 `sw`, under the captions Label9 and Label10.
    QLabel* Label9;
    QLabel* Label7;
    QLabel* Label10;
    QLabel* Label8;
    // Option1 ("Pure", Label5) or Option2 ("Grimtide", Label6) is on: the game's mode.
    QRadioButton* Option1;
    QLabel* Label5;
    QRadioButton* Option2;
    QLabel* Label6;
    // Check1 ("RTR", Label2) and Check2 ("SW", Label3): the expansion packs installed.
    QCheckBox* Check1;
    QLabel* Label2;
    QCheckBox* Check2;
    QLabel* Label3;
    // Picture1 shows the crosshair `cr`, Picture2 the reticle `rt` (captions Label12, Label13).
    QLabel* Label12;
    QLabel* Picture1;
    QLabel* Label13;
    QLabel* Picture2;
    // Check4 ("Secure Mode", Label14) is ticked while `secure` is "Yes".
    QCheckBox* Check4;
    QLabel* Label14;

    // msetup opens the install directory chooser, mcrform the crosshair chooser.
    QMenuBar* menuBar;
    QAction* msetup;
    QAction* mcrform;
    // The tray menu: the switch to the other mode, and the way out.
    QMenu* mpopupsys;
    QAction* mpoppure;
    QAction* mpopunpure;
    QAction* msep1;
    QAction* mpopexit;
};
