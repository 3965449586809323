#include "gui/crosshair/PictureRoutine.h"

#include "core/common/NumberText.h"
#include "core/crosshair/Catalogue.h"
#include "core/settings/SettingsRecord.h"
#include "core/settings/SettingsValues.h"
#include "gui/crosshair/PictureCatalogue.h"

#include <QLabel>
#include <QPixmap>

#include <cmath>

namespace {

// A choice number is one of the whole numbers 1 to count; anything else
// (0, 21, 2.5) selects nothing and is not a failure.
bool isChoice(double number, int count)
{
    return number >= 1 && number <= count && std::floor(number) == number;
}

void showChoice(QLabel& box, Catalogue::Kind kind, const QString& choiceText)
{
    const double choice = NumberText::read(choiceText);
    if (isChoice(choice, Catalogue::count(kind)))
        PictureRoutine::showPicture(box, PictureCatalogue::picture(kind, int(choice)));
}

} // namespace

void PictureRoutine::show(const SettingsRecord& settings, QLabel& crosshairBox, QLabel& reticleBox)
{
    using Catalogue::Kind;
    if (!SettingsValues::isSecureOff(settings.secure)) {
        showPicture(crosshairBox,
                    PictureCatalogue::picture(Kind::Crosshair, Catalogue::secureCrosshair));
        showPicture(reticleBox, PictureCatalogue::picture(Kind::Reticle, Catalogue::secureReticle));
        return;
    }
    showChoice(crosshairBox, Kind::Crosshair, settings.cr);
    showChoice(reticleBox, Kind::Reticle, settings.rt);
}

void PictureRoutine::showPicture(QLabel& box, const QImage& picture)
{
    box.setPixmap(QPixmap::fromImage(picture));
}
