#include "core/mode/ExpansionPacks.h"

#include "core/app/SharedState.h"
#include "core/common/ErrorReport.h"
#include "core/common/Failure.h"
#include "core/platform/PathResolver.h"
#include "core/settings/SettingsValues.h"

namespace {

bool hasFolder(const QString& modsPath, const QString& name)
{
    try {
        PathResolver::folder(modsPath + name);
        return true;
    } catch (const Failure&) {
        return false;
    }
}

} // namespace

void ExpansionPacks::check1Click(bool ticked)
{
    packClick(ExpansionPack::Rtr, ticked);
}

void ExpansionPacks::check2Click(bool ticked)
{
    packClick(ExpansionPack::Sw, ticked);
}

void ExpansionPacks::packClick(ExpansionPack pack, bool ticked)
{
    const bool rtr = pack == ExpansionPack::Rtr;
    m_state.report.trap(rtr ? QStringLiteral("check1") : QStringLiteral("check2"), [&] {
        QString& value = rtr ? m_state.settings.rtr : m_state.settings.sw;
        value = SettingsValues::packValue(ticked);
        m_view.showPackChoice(pack, value);
        if (!m_state.isLoading())
            m_state.msaveset();
    });
}

void ExpansionPacks::followTheGame(SharedState& state)
{
    state.settings.rtr =
        SettingsValues::packValue(hasFolder(state.modsPath(), QStringLiteral("xpack1")));
    state.settings.sw =
        SettingsValues::packValue(hasFolder(state.modsPath(), QStringLiteral("xpack2")));
}
