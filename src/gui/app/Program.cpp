#include "gui/app/Program.h"

#include "core/settings/SettingsStore.h"
#include "gui/app/Form1.h"

#include <QApplication>
#include <QDir>
#include <QFont>

#include <cstdio>
#include <cstdlib>
#include <utility>

void Program::configureApplication()
{
    QApplication::setApplicationName(QStringLiteral("Grimtide Switch"));
    // Ties the window to its menu entry: Wayland takes this as the app id, and
    // on X11 the application name is the window class the entry's
    // StartupWMClass names.
    QApplication::setDesktopFileName(QStringLiteral("org.example.grimtide_switch"));
    // The program ends only through its own two ways out; a hidden main
    // window is not the last window closing.
    QApplication::setQuitOnLastWindowClosed(false);
    // The windows' twip layout leaves room for captions in a narrow 8-point
    // sans serif; the desktop's wider default would clip "Crosshair:" and
    // push "&Select Crosshair" off the menu bar. The first family present wins.
    QFont designFont = QApplication::font();
    designFont.setFamilies({QStringLiteral("Microsoft Sans Serif"), QStringLiteral("Arial"),
                            QStringLiteral("Liberation Sans"), QStringLiteral("Nimbus Sans"),
                            designFont.family()});
    designFont.setPointSize(8);
    QApplication::setFont(designFont);
}

Program::Program(TrayBackend& tray)
    : m_instance(QDir::currentPath()), m_gameFiles(QDir::currentPath()),
      m_module({m_sink, m_gameFiles, tray, SettingsStore::defaultFileName(), [this] {
                    m_instance.release();
                    std::fflush(nullptr);
                    std::_Exit(EXIT_SUCCESS);
                }})
{
    QObject::connect(&m_instance, &SingleInstance::calledForward,
                     [this] { m_module.bringForward(); });
    const auto close = [this] { closeForGood(); };
    QObject::connect(&m_signals, &TerminationSignals::received, close);
    QObject::connect(qGuiApp, &QGuiApplication::commitDataRequest, &m_signals, close);
    QObject::connect(qGuiApp, &QGuiApplication::aboutToQuit, &m_signals, close);
}

bool Program::start()
{
    if (!m_instance.isFirst()) {
        if (!m_instance.firstTookTheCall())
            std::fprintf(stderr,
                         "grimtide-switch: another copy already runs in %s; this one ends.\n",
                         qPrintable(QDir::toNativeSeparators(QDir::currentPath())));
        return false;
    }
    m_module.form1().show();
    return true;
}

void Program::closeForGood()
{
    if (std::exchange(m_closing, true))
        return;
    m_module.closeMainWindow();
}
