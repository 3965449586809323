#include "core/mode/ModeSwitch.h"

#include "core/app/SharedState.h"
#include "core/common/ErrorReport.h"
#include "core/common/Failure.h"
#include "core/common/FileCopier.h"
#include "core/common/MessageSink.h"
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
    const bool switched = m_state.report.trap(
        tag,
        [&] {
            if (m_state.settings.status == statusText(other(mode))) {
                // The status follows the game only once every file is in place,
                // so a failed switch can simply be tried again.
                copyModeFiles(mode);
                m_state.settings.status = statusText(mode);
                m_view.showStatus(m_state.settings.status);
            } else if (pure) {
                m_state.sink.show(QStringLiteral("you are already in pure mode"));
            }
            m_view.showMode(mode);
            if (!m_state.isLoading())
                m_state.msaveset();
        },
        checkOptions);
    // The option button the player clicked is on by now; after a failure the
    // mode column shows the mode the game is still in.
    if (!switched && m_state.settings.status != statusText(mode))
        m_view.showMode(shownBefore);
}

void ModeSwitch::copyModeFiles(GameMode mode)
{
    const SettingsRecord& settings = m_state.settings;
    for (const ModeCopy& copy : modeCopies(mode, settings.rtr, settings.sw, m_state.modsPath()))
        m_state.copier.copy(copy.source, copy.destination);
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
