#include "gui/app/Module1.h"

#include "core/common/Failure.h"
#include "core/installdir/GameSearch.h"
#include "gui/app/Form1.h"
#include "gui/app/Form2.h"
#include "gui/app/MainWindowTray.h"
#include "gui/archives/ArchiveImport.h"
#include "gui/crosshair/Form3.h"
#include "gui/installdir/Form4.h"

#include <QApplication>
#include <QFileInfo>

Module1::Module1(Services services)
    : m_services(std::move(services)), m_relay(m_services.sink), m_report(m_relay),
      m_session(m_services.gameFiles, m_services.databaseFile), m_form1([] { return new Form1; }),
      m_form2([this] { return makeMainWindow(); }),
      m_form3([this] { return makeCrosshairChooser(); }),
      m_form4([this] { return makeInstallDirectoryChooser(); }),
      m_startup(m_session, m_report, {m_form1, m_form2, m_form4},
                [this] { openInstallDirectoryChooser(true); })
{
    connect(&m_startup, &Startup::secureModeOn, this, [this] { showSecureAppearance(true); });
    m_report.offer(FailureNumber::PlaceholderArchive,
                   {QStringLiteral("Import…"), [this] {
                        ArchiveImport(m_services.sink, QApplication::activeWindow()).run();
                    }});
}

Module1::~Module1() = default;

void Module1::start()
{
    m_startup.begin();
}

Form2& Module1::mainWindow()
{
    return m_form2.get();
}

Form2* Module1::makeMainWindow()
{
    auto* main = new Form2(m_session, m_report, m_relay, m_services.tray);
    connect(main, &Form2::crosshairChooserRequested, this, &Module1::openCrosshairChooser);
    connect(main, &Form2::installDirectoryChooserRequested, this,
            [this] { openInstallDirectoryChooser(false); });
    connect(main, &Form2::secureModeSwitched, this, &Module1::showSecureAppearance);
    connect(main, &Form2::leaving, this, &Module1::closeOtherWindows);
    connect(main, &Form2::endRequested, this, [this] { m_services.endProgram(); });
    return main;
}

Form3* Module1::makeCrosshairChooser()
{
    auto* chooser = new Form3(m_session, m_report);
    // Made anew after its close box, it has its first layout until Secure
    // Mode is next switched.
    connect(chooser, &Form3::closedForGood, this, [this] { m_chooserAppearance.reset(); });
    if (m_chooserAppearance)
        chooser->showAppearance(*m_chooserAppearance);
    return chooser;
}

Form4* Module1::makeInstallDirectoryChooser()
{
    auto* chooser =
        new Form4(m_session, m_report, m_services.sink, [this] { return !m_startup.hasLoaded(); });
    connect(chooser, &Form4::firstDirectoryChosen, &m_startup, &Startup::directoryChosen);
    connect(chooser, &Form4::endRequested, this, [this] { m_services.endProgram(); });
    return chooser;
}

void Module1::openCrosshairChooser()
{
    m_form3.get().exec();
}

// Whoever opens "Choose Directory" starts its search for the player's games,
// once for each window made.
void Module1::openInstallDirectoryChooser(bool firstStart)
{
    Form4& chooser = m_form4.get();
    if (!chooser.hasSearch())
        chooser.showSearch(GameSearch::start());
    if (firstStart)
        chooser.askFirst();
    else
        chooser.showFromSetup();
}

// The chooser is made when it is first opened, not for Secure Mode: the
// appearance waits here and is the first thing a new chooser takes on.
void Module1::showSecureAppearance(bool secure)
{
    m_chooserAppearance = secure;
    if (m_form3.exists())
        m_form3.get().showAppearance(secure);
}

// Neither window holds anything the save needs, so their order is free.
void Module1::closeOtherWindows()
{
    m_form3.close();
    m_form1.close();
}

void Module1::closeMainWindow()
{
    // Until the main window has loaded, the player has chosen nothing that a
    // save would keep, and the record may be half-read: it ends unsaved.
    if (!m_startup.hasLoaded())
        m_services.endProgram();
    else
        m_form2.close();
}

void Module1::bringForward()
{
    // While a dialog is up, the first choice of the install directory
    // included, it is the window to show.
    if (QWidget* dialog = QApplication::activeModalWidget()) {
        dialog->raise();
        dialog->activateWindow();
    } else if (m_form2.exists()) {
        m_form2.get().tray().restoreWindow();
    }
}

void Module1::play(std::optional<GameMode> mode, const PlayAnswer& answer)
{
    // A click reaches the main window only once it is up and no dialog
    // waits for an answer; the player is shown which.
    if (!m_startup.hasLoaded() || QApplication::activeModalWidget()) {
        bringForward();
        answer({GamePlay::refused,
                m_startup.hasLoaded()
                    ? QStringLiteral("Grimtide Switch waits for an answer in one of its "
                                     "windows; give it, then play again.\n")
                    : QStringLiteral("Grimtide Switch is still starting; play again once "
                                     "its window is up.\n")});
        return;
    }
    // A click's switch tells nothing unless it is refused.
    bool refused = false;
    if (mode) {
        m_relay.hearNext([&](const QString& message) {
            refused = true;
            answer({GamePlay::refused, message + u'\n'});
        });
        m_form2.get().clickOption(*mode);
        m_relay.hearNext({});
    }
    if (!refused)
        answer(
            GamePlay::start(QFileInfo(m_services.databaseFile).absolutePath(), m_session.record()));
}
