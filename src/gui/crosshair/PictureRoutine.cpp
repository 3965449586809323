#include "gui/crosshair/PictureRoutine.h"

#include "gui/app/Form2.h"
#include "gui/app/Module1.h"
#include "core/common/NumberText.h"
#include "core/crosshair/Catalogue.h"
#include "gui/crosshair/Form3.h"
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

} // namespace

void PictureRoutine::show(QLabel& box, const QImage& picture)
{
    const QSize room = box.contentsRect().size();
    box.setPixmap(QPixmap::fromImage(
        picture.scaled(room, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
}

void PictureRoutine::mimgset()
{
    m.report().trap(QStringLiteral("mimgset"), [this] {
        if (m.settings.secure != QStringLiteral("No")) {
            Form3& chooser = m.form3();
            show(*m.form2().Picture1, chooser.ImageList1.picture(Catalogue::secureCrosshair));
            show(*m.form2().Picture2, chooser.ImageList2.picture(Catalogue::secureReticle));
            return;
        }
        showChoices();
    });
}

void PictureRoutine::showChoices()
{
    const double crosshair = NumberText::read(m.settings.cr);
    if (isChoice(crosshair, Catalogue::crosshairCount))
        show(*m.form2().Picture1, m.form3().ImageList1.picture(int(crosshair)));
    const double reticle = NumberText::read(m.settings.rt);
    if (isChoice(reticle, Catalogue::reticleCount))
        show(*m.form2().Picture2, m.form3().ImageList2.picture(int(reticle)));
}
