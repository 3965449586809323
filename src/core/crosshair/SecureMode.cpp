#include "core/crosshair/SecureMode.h"

#include "core/app/SharedState.h"
#include "core/common/ErrorReport.h"
#include "core/common/Failure.h"
#include "core/crosshair/Catalogue.h"
#include "core/crosshair/SecureView.h"
#include "core/settings/SettingsValues.h"

void SecureMode::check4Click(bool ticked)
{
    m_state.report.trap(QStringLiteral("check4"), [&] {
        SettingsRecord& settings = m_state.settings;
        using Catalogue::Kind;
        const QString& modsPath = m_state.modsPath();
        const QList<GameFileCopy> archives{
            Catalogue::archiveCopy(
                Kind::Crosshair, ticked ? QString::number(Catalogue::secureCrosshair) : settings.cr,
                modsPath),
            Catalogue::archiveCopy(Kind::Reticle,
                                   ticked ? QString::number(Catalogue::secureReticle) : settings.rt,
                                   modsPath)};
        const QString wanted = SettingsValues::secureValue(ticked);
        // Secure Mode changes only once both archives are in place, and goes
        // back with them when the save fails: the setting always says which
        // pair the game has.
        m_state.installGameFiles(archives, DecidingSetting{SettingsValues::secureField(), wanted},
                                 [&] {
                                     const QString before = settings.secure;
                                     settings.secure = wanted;
                                     m_view.showSecureAppearance(ticked);
                                     m_view.mimgset();
                                     try {
                                         if (!m_state.isLoading())
                                             m_state.msaveset();
                                     } catch (const Failure&) {
                                         settings.secure = before;
                                         m_view.showSecureAppearance(!ticked);
                                         m_view.mimgset();
                                         throw;
                                     }
                                 });
    });
}
