#include "gui/crosshair/Form3.h"

#include "core/common/Failure.h"
#include "core/common/MessageSink.h"
#include "gui/app/Module1.h"
#include "gui/widgets/Twips.h"
#include "gui/widgets/ImageCombo.h"
#include "gui/crosshair/PictureCatalogue.h"
#include "core/common/FileCopier.h"

#include <QLabel>
#include <QPixmap>
#include <QPushButton>

namespace {

// A picture control takes the size of its picture and keeps its top left
// corner.
QLabel* makeImage(QWidget* parent, int left, int top, int width, int height)
{
    auto* image = new QLabel(parent);
    Twips::place(*image, left, top, width, height);
    return image;
}

void setImage(QLabel& image, const QImage& picture)
{
    image.setPixmap(QPixmap::fromImage(picture));
    image.resize(picture.size());
}

QPushButton* makeButton(QWidget* parent, const QString& caption, int left)
{
    auto* button = new QPushButton(caption, parent);
    Twips::place(*button, left, 2040, 735, 375);
    button->setAutoDefault(false);
    return button;
}

} // namespace

Form3::Form3(Module1& module)
    : ProgramWindow(nullptr, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                                 | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint),
      ImageList1(PictureCatalogue::crosshairPictures()),
      ImageList2(PictureCatalogue::reticlePictures()), m(module)
{
    setWindowTitle(QStringLiteral("Crosshairs"));
    setWindowIcon(PictureCatalogue::programIcon());
    setFixedSize(Twips::size(*this, 1905, 2475));
    createControls();
}

void Form3::createControls()
{
    ImageCombo2 = new ImageCombo(this);
    Twips::place(*ImageCombo2, 120, 960, 1695, 330);
    ImageCombo2->setAccessibleName(QStringLiteral("Reticle"));
    ImageCombo1 = new ImageCombo(this);
    Twips::place(*ImageCombo1, 120, 240, 1695, 330);
    ImageCombo1->setAccessibleName(QStringLiteral("Crosshair"));
    Command1 = makeButton(this, QStringLiteral("OK"), 120);
    Command2 = makeButton(this, QStringLiteral("Cancel"), 1080);
    Label1 = new QLabel(QStringLiteral("Secure Mode:"), this);
    Twips::place(*Label1, 120, 1680, 1095, 255);

    Image3 = makeImage(this, 1200, 1680, 255, 285);
    setImage(*Image3, PictureCatalogue::lampPicture(true));
    Image4 = makeImage(this, 1200, 1680, 255, 285);
    setImage(*Image4, PictureCatalogue::lampPicture(false));
    Image4->raise(); // the red lamp lies above the green one
    for (QLabel* lamp : {Image3, Image4}) {
        lamp->setAccessibleName(Label1->text());
        Label1->setBuddy(lamp);
    }
    Image3->setAccessibleDescription(QStringLiteral("on"));
    Image4->setAccessibleDescription(QStringLiteral("off"));
    Image1 = makeImage(this, 120, 240, 735, 495);
    Image1->setAccessibleName(ImageCombo1->accessibleName());
    Image1->hide();
    Image2 = makeImage(this, 120, 960, 735, 495);
    Image2->setAccessibleName(ImageCombo2->accessibleName());
    Image2->hide();

    setTabOrder(ImageCombo2, ImageCombo1);
    setTabOrder(ImageCombo1, Command1);
    setTabOrder(Command1, Command2);
    ImageCombo2->setFocus();

    using Catalogue::Kind;
    connect(ImageCombo1, &ImageCombo::clicked, this, [this] {
        pick(QStringLiteral("imgcmb1"), *ImageCombo1, m.settings.cr, Kind::Crosshair);
    });
    connect(ImageCombo2, &ImageCombo::clicked, this, [this] {
        pick(QStringLiteral("imgcmb2"), *ImageCombo2, m.settings.rt, Kind::Reticle);
    });
    connect(Command1, &QPushButton::clicked, this, &Form3::command1Click);
    connect(Command2, &QPushButton::clicked, this, &QWidget::hide);
}

void Form3::load()
{
    using Catalogue::Kind;
    const auto fill = [](ImageCombo& list, const ImageList& pictures, Kind kind) {
        list.setImageList(&pictures);
        for (int choice = 1; choice <= Catalogue::count(kind); ++choice) {
            const QString key = Catalogue::pictureKey(kind, choice);
            list.addItem(choice, key, QString(), key);
        }
        list.setText(QStringLiteral("Please choose."));
    };
    fill(*ImageCombo1, ImageList1, Kind::Crosshair);
    fill(*ImageCombo2, ImageList2, Kind::Reticle);
}

void Form3::pick(const QString& tag, const ImageCombo& list, QString& value, Catalogue::Kind kind)
{
    m.report().trap(tag, [&] {
        value = QString::number(list.selectedPosition());
        m.copier().copy(Catalogue::archiveSource(kind, value),
                        Catalogue::archiveDestination(kind, m.modsPath));
    });
}

void Form3::command1Click()
{
    const auto chooseFirst = [this](int number) {
        if (number != FailureNumber::NoItemChosen)
            return false;
        m.sink().show(QStringLiteral("Please choose crosshairs."));
        return true;
    };
    m.report().trap(QStringLiteral("3command1"), [this] {
        if (m.settings.secure == QStringLiteral("No")) {
            for (auto [list, value] : {std::pair{ImageCombo1, &m.settings.cr},
                                       std::pair{ImageCombo2, &m.settings.rt}}) {
                if (!list->hasSelection())
                    throw Failure(FailureNumber::NoItemChosen);
                *value = QString::number(list->selectedPosition());
            }
        }
        hide();
        m.mimgset();
        m.msaveset();
    }, chooseFirst);
}

void Form3::showSecureAppearance()
{
    ImageCombo1->hide();
    ImageCombo2->hide();
    setImage(*Image1, ImageList1.picture(Catalogue::secureCrosshair));
    setImage(*Image2, ImageList2.picture(Catalogue::secureReticle));
    Image1->show();
    Image2->show();
    Command1->hide();
    Image4->hide();
    Image3->show();
}

void Form3::showNormalAppearance()
{
    Image1->hide();
    Image2->hide();
    ImageCombo1->show();
    ImageCombo2->show();
    Command1->show();
    Image4->show();
    Image3->hide();
}
