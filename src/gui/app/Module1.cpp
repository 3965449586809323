#include "gui/app/Module1.h"

#include "core/common/Failure.h"
#include "gui/app/Form1.h"
#include "gui/app/Form2.h"
#include "gui/app/MainWindowTray.h"
#include "gui/archives/ArchiveImport.h"
#include "gui/crosshair/Form3.h"
#include "gui/crosshair/PictureRoutine.h"
#include "gui/installdir/Form4.h"

#include <QApplication>

Module1::Module1(Services services)
    : state(m_report, services.sink, services.gameFiles, services.databaseFile),
      m_services(std::move(services)), m_report(m_services.sink), m_secureMode(state, *this),
      m_form1([this] {
          // The settings file is open while the start-up window lives.
          state.openSettingsStore();
          auto* loading = new Form1(*this);
          QObject::connect(loading, &Form1::closedForGood, loading,
                           [this] { state.closeSettingsStore(); });
          return loading;
      }),
      m_form2([this] { return new Form2(*this); }), m_form3([this] { return makeForm3(); }),
      m_form4([this] { return new Form4(state, [this] { endProgram(); }); })
{
    m_report.offer(FailureNumber::PlaceholderArchive,
                   {QStringLiteral("Import…"), [this] {
                        ArchiveImport(m_services.sink, QApplication::activeWindow()).run();
                    }});
}

Module1::~Module1() = default;

Form1& Module1::form1()
{
    return m_form1.get();
}

Form2& Module1::form2()
{
    return m_form2.get();
}

Form3& Module1::form3()
{
    return m_form3.get();
}

Form4& Module1::form4()
{
    return m_form4.get();
}

void Module1::msetp()
{
    form2().modeSwitch().msetp();
}

void Module1::msetu()
{
    form2().modeSwitch().msetu();
}

void Module1::mimgset()
{
    m_report.trap(QStringLiteral("mimgset"), [this] {
        Form2& main = form2();
        PictureRoutine::show(state.settings, *main.Picture1, *main.Picture2);
    });
}

// The chooser is made when it is first opened, not for Secure Mode: the
// appearance waits here and is the first thing a new chooser takes on.
void Module1::showSecureAppearance(bool secure)
{
    m_chooserAppearance = secure;
    if (m_form3.exists())
        form3().showAppearance(secure);
}

Form3* Module1::makeForm3()
{
    auto* chooser = new Form3(state, [this] { mimgset(); });
    // Made anew after its close box, it has its first layout until Secure
    // Mode is next switched.
    QObject::connect(chooser, &Form3::closedForGood, chooser,
                     [this] { m_chooserAppearance.reset(); });
    if (m_chooserAppearance)
        chooser->showAppearance(*m_chooserAppearance);
    return chooser;
}

void Module1::endProgram()
{
    m_ended = true;
    if (m_services.endProgram)
        m_services.endProgram();
}

void Module1::closeMainWindow()
{
    // Until the main window has loaded, the player has chosen nothing that a
    // save would keep, and the record may be half-read: it ends unsaved.
    if (state.isLoading())
        endProgram();
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
    } else if (m_form2.exists() && !m_ended) {
        form2().tray().restoreWindow();
    }
}
