#pragma once

#include "gui/widgets/ProgramDialog.h"
#include "gui/widgets/Twips.h"

#include <functional>

class DirList;
class DriveList;
class SharedState;
class QLabel;
class QPushButton;

// "Choose Directory": where the player picks the game's install directory.
// Browsing changes nothing but the window; only "Ok" stores the directory,
// derives the mods path and saves.
class Form4 : public ProgramDialog {
    Q_OBJECT
public:
    Form4(SharedState& state, std::function<void()> endProgram);

    // On a first start: where exactly one game is found on the machine,
    // the list opens at it, as soon as the search ends, unless the player
    // has picked a drive, opened a folder or answered by then.
    void openTheOnlyGame();

    DriveList* Drive1;
    DirList* Dir1;
    QPushButton* Command1;
    QPushButton* Command2;
    QLabel* Label1;

protected:
    void unload() override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void createControls();
    void placeControls();
    void drive1Change();
    void dir1Change();
    void command1Click();
    void openGameIfOnlyOne();

    Twips m_twips;
    SharedState& m_state;
    std::function<void()> m_endProgram;
    bool m_openTheOnlyGame = false; // once the search ends
};
