#pragma once

#include "core/mode/ExpansionPacks.h"
#include "core/mode/ModeSwitch.h"
#include "core/mode/ModeView.h"
#include "gui/widgets/ProgramWindow.h"

class MainWindowTray;
class Module1;
class QAction;
class QCheckBox;
class QLabel;
class QMenu;
class QMenuBar;
class QRadioButton;
class Twips;

// "Grimtide Switch", the main window. It is the view of the mode commands,
// which it owns; its controls are public for the pictures and the tests. Its
// tray icon and the minimize to the tray are its MainWindowTray's.
class Form2 : public ProgramWindow, public ModeView {
    Q_OBJECT
public:
    explicit Form2(Module1& module);

    void load() override;
    ModeSwitch& modeSwitch() { return m_modeSwitch; }
    MainWindowTray& tray() { return *m_tray; }

    void showStatus(const QString& status) override;
    void showMode(GameMode mode) override;
    void showPackChoice(ExpansionPack pack, const QString& value) override;

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

protected:
    void unload() override;

private:
    void createControls(Twips& twips, QWidget* area);
    void createMenus();
    void connectCommands();
    void loadSettingsRow();
    void askForInstallDirectory();
    void setControlsFromSettings();
    void trayModeItem(const QString& tag, bool pure);
    void mpopexitClick();
    void mcrformClick();
    void msetupClick();

    Module1& m_module;
    ModeSwitch m_modeSwitch;
    ExpansionPacks m_expansionPacks;
    MainWindowTray* m_tray;
};
