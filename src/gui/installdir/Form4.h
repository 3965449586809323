#pragma once

#include "core/installdir/GameSearch.h"
#include "gui/widgets/ProgramDialog.h"
#include "gui/widgets/Twips.h"

#include <QFuture>

#include <functional>

class DirList;
class DriveList;
class ErrorReport;
class MessageSink;
class Session;
class QLabel;
class QPushButton;

// "Choose Directory": where the player picks the game's install directory.
// Browsing changes nothing but the window; only "Ok" stores the directory,
// derives the mods path and saves. Each control is named (objectName) as in
// the window's table.
class Form4 : public ProgramDialog {
    Q_OBJECT
public:
    // Closing it while the main window is still loading ends the program.
    Form4(Session& session, const ErrorReport& report, MessageSink& sink,
          std::function<bool()> mainWindowLoading);

    // The search for the player's games, started by whoever opens the
    // window; its games join the drive list when it ends.
    void showSearch(QFuture<GameSearch::Found> search);
    bool hasSearch() const { return m_search.isValid(); }
    // The first start's question, without Cancel, while nothing else takes
    // input. Where exactly one game is found on the machine, the list opens
    // at it as soon as the search ends, unless the player has picked a
    // drive, opened a folder or answered by then. Its Ok lets RTR and SW
    // follow the chosen game's folders.
    void askFirst();
    // "S&etup": beside the main window, which stays usable; in front if it
    // is open already.
    void showFromSetup();

signals:
    void firstDirectoryChosen();
    void endRequested();

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
    Session& m_session;
    const ErrorReport& m_report;
    MessageSink& m_sink;
    std::function<bool()> m_mainWindowLoading;
    QFuture<GameSearch::Found> m_search;
    bool m_openTheOnlyGame = false; // once the search ends
    bool m_firstStart = false;      // until its Ok

    DriveList* Drive1;
    DirList* Dir1;
    QPushButton* Command1;
    QPushButton* Command2;
    QLabel* Label1;
};
