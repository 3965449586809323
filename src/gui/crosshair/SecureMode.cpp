#include "gui/crosshair/SecureMode.h"

#include "gui/app/Form2.h"
#include "gui/app/Module1.h"
#include "core/crosshair/Catalogue.h"
#include "gui/crosshair/Form3.h"
#include "core/common/FileCopier.h"

#include <QCheckBox>

void SecureMode::check4Click()
{
    m.report().trap(QStringLiteral("check4"), [this] {
        if (m.form2().Check4->isChecked())
            turnOn();
        else
            turnOff();
        m.mimgset();
        if (!m.isLoading())
            m.msaveset();
    });
}

void SecureMode::turnOn()
{
    m.settings.secure = QStringLiteral("Yes");
    installArchives(QString::number(Catalogue::secureCrosshair),
                    QString::number(Catalogue::secureReticle));
    m.form3().showSecureAppearance();
}

void SecureMode::turnOff()
{
    m.settings.secure = QStringLiteral("No");
    installArchives(m.settings.cr, m.settings.rt);
    m.form3().showNormalAppearance();
}

void SecureMode::installArchives(const QString& crosshair, const QString& reticle)
{
    using Catalogue::Kind;
    m.copier().copy(Catalogue::archiveSource(Kind::Crosshair, crosshair),
                    Catalogue::archiveDestination(Kind::Crosshair, m.modsPath));
    m.copier().copy(Catalogue::archiveSource(Kind::Reticle, reticle),
                    Catalogue::archiveDestination(Kind::Reticle, m.modsPath));
}
