#include "gui/crosshair/PictureRoutine.h"

#include "core/common/NumberText.h"
#include "core/crosshair/Catalogue.h"
#include "core/settings/SettingsRecord.h"
#include "core/settings/SettingsValues.h"
#include "gui/widgets/ImageList.h"

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

void showChoice(QLabel& box, const ImageList& pictures, const QString& choiceText, int count)
{
    const double choice = NumberText::read(choiceText);
    if (isChoice(choice, count))
        PictureRoutine::showPicture(box, pictures.picture(int(choice)));
}

} // namespace

void PictureRoutine::show(const SettingsRecord& settings, const ImageList& crosshairs,
                          const ImageList& reticles, QLabel& crosshairBox, QLabel& reticleBox)
{
    if (!SettingsValues::isSecureOff(settings.secure)) {
        showPicture(crosshairBox, crosshairs.picture(Catalogue::secureCrosshair));
        showPicture(reticleBox, reticles.picture(Catalogue::secureReticle));
        return;
    }
    showChoice(crosshairBox, crosshairs, settings.cr, Catalogue::crosshairCount);
    showChoice(reticleBox, reticles, settings.rt, Catalogue::reticleCount);
}

void PictureRoutine::showPicture(QLabel& box, const QImage& picture)
{
    box.setPixmap(QPixmap::fromImage(picture));
}
