#include "gui/app/Program.h"

#include "core/settings/SettingsStore.h"

#include <QApplication>
#include <QDir>
#include <QFont>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <utility>

namespace {

constexpr std::chrono::milliseconds closeDeadline{1800};

} // namespace

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
      m_module({*this, m_gameFiles, tray, SettingsStore::defaultFileName(), [this] {
                    m_instance.release();
                    std::fflush(nullptr);
                    std::_Exit(m_reported ? EXIT_FAILURE : EXIT_SUCCESS);
                }})
{
    QObject::connect(&m_instance, &SingleInstance::calledForward,
                     [this] { m_module.bringForward(); });
    QObject::connect(
        &m_instance, &SingleInstance::asked,
        [this](const QByteArray& line, const CallSocket::Answer& answer) { play(line, answer); });
    const auto close = [this] { closeForGood(); };
    QObject::connect(&m_signals, &TerminationSignals::received, close);
    QObject::connect(qGuiApp, &QGuiApplication::commitDataRequest, &m_signals, close);
    QObject::connect(qGuiApp, &QGuiApplication::aboutToQuit, &m_signals, close);
}

bool Program::start()
{
    // A signal before the first window ends the program before it reads or
    // writes anything.
    if (m_signals.pending())
        return false;
    if (!m_instance.isFirst()) {
        if (!m_instance.firstTookTheCall())
            std::fprintf(stderr,
                         "grimtide-switch: another copy already runs in %s; this one ends.\n",
                         qPrintable(QDir::toNativeSeparators(QDir::currentPath())));
        return false;
    }
    m_module.start();
    return true;
}

void Program::play(const QByteArray& line, const CallSocket::Answer& answer)
{
    // A request of another form, or one that comes while the program ends,
    // goes unanswered: its caller says so.
    const std::optional<GamePlay::Request> request = GamePlay::Request::fromLine(line);
    if (!request || m_closing)
        return;
    m_module.play(request->mode,
                  [answer](const GamePlay::Outcome& outcome) { answer(outcome.line()); });
}

void Program::closeForGood()
{
    if (std::exchange(m_closing, true))
        return;
    TerminationSignals::closeBegins();
    // Whatever waits (a lock, a frozen bus under the tray icon), the program
    // is gone by the deadline; a save waits for a lock only half as long.
    std::thread([] {
        std::this_thread::sleep_for(closeDeadline);
        std::fputs("grimtide-switch: the close did not finish in time.\n", stderr);
        std::_Exit(EXIT_FAILURE);
    }).detach();
    m_module.session().setLockWait(int(closeDeadline.count() / 2));
    m_module.closeMainWindow();
}

void Program::show(const QString& text)
{
    if (!m_closing) {
        m_boxes.show(text);
        return;
    }
    m_reported = true;
    std::fputs(qPrintable(text + QLatin1Char('\n')), stderr);
}

void Program::showWithOffer(const QString& text, const Offer& offer)
{
    if (m_closing)
        show(text);
    else
        m_boxes.showWithOffer(text, offer);
}
