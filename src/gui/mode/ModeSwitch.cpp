#include "gui/mode/ModeSwitch.h"

#include "gui/widgets/ClickFromCode.h"
#include "core/common/Failure.h"
#include "gui/app/Form2.h"
#include "core/common/MessageSink.h"
#include "gui/app/Module1.h"
#include "core/common/FileCopier.h"

#include <QAction>
#include <QLabel>
#include <QRadioButton>

namespace {

QString statusText(GameMode mode)
{
    return mode == GameMode::Pure ? QStringLiteral("Pure") : QStringLiteral("Grimtide");
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
    const auto checkOptions = [this](int number) {
        if (number != FailureNumber::PathNotFound)
            return false;
        m.sink().show(QStringLiteral("Please check your options"));
        return true;
    };
    m.report().trap(pure ? QStringLiteral("msetp") : QStringLiteral("msetu"), [&] {
        if (m.settings.status == statusText(other(mode))) {
            m.settings.status = statusText(mode);
            m.form2().Label4->setText(m.settings.status);
            copyModeFiles(mode);
        } else if (pure) {
            m.sink().show(QStringLiteral("you are already in pure mode"));
        }
        alignControls(mode);
        if (!m.isLoading())
            m.msaveset();
    }, checkOptions);
}

void ModeSwitch::copyModeFiles(GameMode mode)
{
    const SettingsRecord& s = m.settings;
    for (const ModeCopy& copy : modeCopies(mode, s.rtr, s.sw, m.modsPath))
        m.copier().copy(copy.source, copy.destination);
}

void ModeSwitch::alignControls(GameMode mode)
{
    Form2& main = m.form2();
    const bool pure = mode == GameMode::Pure;
    // The tray menu offers only the switch to the other mode.
    if (pure) {
        main.mpopunpure->setVisible(true);
        main.mpoppure->setVisible(false);
        ClickFromCode::turnOn(*main.Option1);
        ClickFromCode::turnOff(*main.Option2);
    } else {
        main.mpopunpure->setVisible(false);
        main.mpoppure->setVisible(true);
        ClickFromCode::turnOff(*main.Option1);
        ClickFromCode::turnOn(*main.Option2);
    }
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
    m.report().trap(pure ? QStringLiteral("option1") : QStringLiteral("option2"), [&] {
        if (m.settings.status != statusText(other(mode)))
            return;
        if (m.isLoading()) {
            Form2& main = m.form2();
            ClickFromCode::turnOn(pure ? *main.Option1 : *main.Option2);
            ClickFromCode::turnOff(pure ? *main.Option2 : *main.Option1);
            return;
        }
        switchTo(mode);
    });
}
