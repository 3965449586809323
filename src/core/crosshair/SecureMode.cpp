#include "core/crosshair/SecureMode.h"

#include "core/app/SharedState.h"
#include "core/common/ErrorReport.h"
#include "core/crosshair/Catalogue.h"
#include "core/crosshair/SecureView.h"
#include "core/settings/SettingsValues.h"

void SecureMode::check4Click(bool ticked)
{
    m_state.report.trap(QStringLiteral("check4"), [&] {
        SettingsRecord& settings = m_state.settings;
        settings.secure = SettingsValues::secureValue(ticked);
        using Catalogue::Kind;
        const auto install = [this](Kind kind, const QString& choice) {
            Catalogue::installArchive(m_state.copier, kind, choice, m_state.modsPath());
        };
        install(Kind::Crosshair,
                ticked ? QString::number(Catalogue::secureCrosshair) : settings.cr);
        install(Kind::Reticle, ticked ? QString::number(Catalogue::secureReticle) : settings.rt);
        m_view.showSecureAppearance(ticked);
        m_view.mimgset();
        if (!m_state.isLoading())
            m_state.msaveset();
    });
}
