#include "core/mode/ModeSwitch.h"

#include "core/app/SharedState.h"
#include "core/common/ErrorReport.h"
#include "core/common/Failure.h"
#include "core/common/MessageSink.h"
#include "core/gamefiles/GameFiles.h"
#include "core/mode/ModeView.h"
#include "core/settings/SettingsValues.h"

namespace {

QString statusText(GameMode mode)
{
    return mode == GameMode::Pure ? SettingsValues::pure() : SettingsValues::grimtide();
}

GameMode other(GameMode mode)
{
    return mode == GameMode::Pure ? GameMode::Grimtide : GameMode::Pure;
}

} // namespace

void ModeSwitch::msetp()
{
    switchTo(GameMode::Pure);
}

void ModeSwitch::msetu()
{
    switchTo(GameMode::Grimtide);
}

void ModeSwitch::switchTo(GameMode mode)
{
    const bool pure = mode == GameMode::Pure;
    const QString tag = pure ? QStringLiteral("msetp") : QStringLiteral("msetu");
    const ErrorReport::PlainerMessage checkOptions{FailureNumber::PathNotFound,
                                                   QStringLiteral("Please check your options")};
    const GameMode shownBefore =
        SettingsValues::isPure(m_state.settings.status) ? GameMode::Pure : GameMode::Grimtide;
    const auto bringIntoLine = [&] {
        m_view.showMode(mode);
        if (!m_state.isLoading())
            m_state.msaveset();
    };
    const bool switched = m_state.report.trap(
        tag,
        [&] {
            if (m_state.settings.status == statusText(other(mode))) {
                installModeFiles(mode, bringIntoLine);
            } else {
                if (pure)
                    m_state.sink.show(QStringLiteral("you are already in pure mode"));
                bringIntoLine();
            }
        },
        checkOptions);
    // The option button the player clicked is on by now; after a failure the
    // mode column shows the mode the game is still in.
    if (!switched && m_state.settings.status != statusText(mode))
        m_view.showMode(shownBefore);
}

void ModeSwitch::installModeFiles(GameMode mode, const std::function<void()>& bringIntoLine)
{
    const SettingsRecord& settings = m_state.settings;
    if (mode == GameMode::Grimtide)
        GameFiles::requireFolder(m_state.modsPath(), QStringLiteral("gtide_base"),
                                 QStringLiteral("install the Grimtide mod first"));
    const QString target = statusText(mode);
    // The status follows the game only once every file is in place, and
    // goes back with the files when the save fails, so that a failed switch
    // can simply be tried again.
    m_state.installGameFiles(modeCopies(mode, settings.rtr, settings.sw, m_state.modsPath()),
                             DecidingSetting{SettingsValues::statusField(), target}, [&] {
                                 const QString before = m_state.settings.status;
                                 m_state.settings.status = target;
                                 m_view.showStatus(target);
                                 try {
                                     bringIntoLine();
                                 } catch (const Failure&) {
                                     m_state.settings.status = before;
                                     m_view.showStatus(before);
                                     throw;
                                 }
                             });
}

void ModeSwitch::option1Click()
{
    optionClick(GameMode::Pure);
}

void ModeSwitch::option2Click()
{
    optionClick(GameMode::Grimtide);
}

void ModeSwitch::optionClick(GameMode mode)
{
    const bool pure = mode == GameMode::Pure;
    m_state.report.trap(pure ? QStringLiteral("option1") : QStringLiteral("option2"), [&] {
        if (m_state.settings.status != statusText(other(mode)))
            return;
        if (m_state.isLoading())
            m_view.showMode(mode);
        else
            switchTo(mode);
    });
}
