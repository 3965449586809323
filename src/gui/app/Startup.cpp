#include "gui/app/Startup.h"

#include "core/app/Session.h"
#include "core/common/ErrorReport.h"
#include "core/common/Failure.h"
#include "core/settings/SettingsValues.h"
#include "gui/app/Form1.h"
#include "gui/app/Form2.h"
#include "gui/installdir/Form4.h"

Startup::Startup(Session& session, const ErrorReport& report, Windows windows,
                 AskForDirectory askForDirectory)
    : m_session(session), m_report(report), m_windows(windows),
      m_askForDirectory(std::move(askForDirectory))
{
}

void Startup::begin()
{
    Form1& loading = m_windows.loading.get();
    connect(&loading, &Form1::timer1Tick, this, &Startup::timer1Tick);
    loading.show();
}

void Startup::timer1Tick()
{
    m_report.trap(QStringLiteral("timer1"), [this] {
        m_windows.main.get();
        const bool loaded = m_report.trap(QStringLiteral("load"), [this] {
            // A field without a value (the path, on a first start) reads as the
            // empty text and costs no other field; the player is asked for the
            // install directory, whose Ok saves the whole record.
            const bool firstStart = m_session.load();
            if (const std::optional<Failure>& notice = m_session.interruptedUpdateNotice())
                m_report.trap(QStringLiteral("load"), [&] { throw *notice; });
            if (firstStart) {
                m_asking = true;
                m_askForDirectory();
            }
        });
        if (!loaded)
            showMainWindow();
        else if (!m_asking)
            finishLoad();
    });
}

void Startup::directoryChosen()
{
    if (!std::exchange(m_asking, false))
        return;
    m_report.trap(QStringLiteral("timer1"), [this] { finishLoad(); });
}

void Startup::finishLoad()
{
    if (SettingsValues::isSecureOn(m_session.record().secure)
        && m_report.trap(QStringLiteral("check4"), [this] { m_session.reinstallSecureArchives(); }))
        emit secureModeOn();
    m_report.trap(QStringLiteral("load"), [this] {
        m_windows.main.get().showLoaded();
        m_loaded = true;
    });
    showMainWindow();
}

void Startup::showMainWindow()
{
    m_windows.main.get().show();
    m_windows.loading.get().hide();
    emit ended();
}
