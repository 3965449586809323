#include "gui/crosshair/Form3.h"

#include "core/app/SharedState.h"
#include "core/common/ErrorReport.h"
#include "core/common/Failure.h"
#include "core/settings/SettingsValues.h"
#include "gui/crosshair/PictureCatalogue.h"
#include "gui/widgets/ImageCombo.h"
#include "gui/widgets/Twips.h"

#include <QLabel>
#include <QPixmap>
#include <QPushButton>

namespace {

constexpr int clientWidth = 1905;
constexpr int clientHeight = 2475;

// A picture control takes the size of its picture and keeps its top left
// corner.
QLabel* makeImage(Twips& twips, QWidget* parent, Twips::Placement at)
{
    auto* image = new QLabel(parent);
    twips.place(*image, at);
    return image;
}

void setImage(QLabel& image, const QImage& picture)
{
    image.setPixmap(QPixmap::fromImage(picture));
    image.resize(picture.size());
}

} // namespace

Form3::Form3(SharedState& state, std::function<void()> mimgset)
    : ProgramDialog(nullptr, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                                 | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint),
      ImageList1(PictureCatalogue::crosshairPictures()),
      ImageList2(PictureCatalogue::reticlePictures()), m_state(state), m_mimgset(std::move(mimgset))
{
    setWindowTitle(QStringLiteral("Crosshairs"));
    setWindowIcon(PictureCatalogue::programIcon());
    Twips twips(*this);
    createControls(twips);
    twips.fitCaptions();
    setFixedSize(twips.size(clientWidth, clientHeight));
    setImage(*Image3, PictureCatalogue::lampPicture(true));
    setImage(*Image4, PictureCatalogue::lampPicture(false));
}

void Form3::createControls(Twips& twips)
{
    ImageCombo2 = new ImageCombo(this);
    twips.place(*ImageCombo2, {120, 960, 1695, 330});
    ImageCombo2->setAccessibleName(QStringLiteral("Reticle"));
    ImageCombo1 = new ImageCombo(this);
    twips.place(*ImageCombo1, {120, 240, 1695, 330});
    ImageCombo1->setAccessibleName(QStringLiteral("Crosshair"));
    Command1 = twips.button(this, QStringLiteral("OK"), {120, 2040, 735, 375});
    Command2 = twips.button(this, QStringLiteral("Cancel"), {1080, 2040, 735, 375});
    Label1 = new QLabel(QStringLiteral("Secure Mode:"), this);
    twips.place(*Label1, {120, 1680, 1095, 255});

    Image3 = makeImage(twips, this, {1200, 1680, 255, 285});
    Image4 = makeImage(twips, this, {1200, 1680, 255, 285});
    Image4->raise(); // the red lamp lies above the green one
    // Named apart: a screen reader tells the state by the lamp's name.
    Image3->setAccessibleName(QStringLiteral("Secure Mode on"));
    Image4->setAccessibleName(QStringLiteral("Secure Mode off"));
    Image1 = makeImage(twips, this, {120, 240, 735, 495});
    Image1->setAccessibleName(ImageCombo1->accessibleName());
    Image1->hide();
    Image2 = makeImage(twips, this, {120, 960, 735, 495});
    Image2->setAccessibleName(ImageCombo2->accessibleName());
    Image2->hide();

    setTabOrder(ImageCombo2, ImageCombo1);
    setTabOrder(ImageCombo1, Command1);
    setTabOrder(Command1, Command2);
    ImageCombo2->setFocus();

    using Catalogue::Kind;
    connect(ImageCombo1, &ImageCombo::clicked, this, [this] {
        pick(QStringLiteral("imgcmb1"), *ImageCombo1, m_state.settings.cr, Kind::Crosshair);
    });
    connect(ImageCombo2, &ImageCombo::clicked, this, [this] {
        pick(QStringLiteral("imgcmb2"), *ImageCombo2, m_state.settings.rt, Kind::Reticle);
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
            // Each picture shows its number, the first also "default".
            list.setItemName(choice, QStringLiteral("%1 %2%3").arg(
                                         list.accessibleName(), QString::number(choice),
                                         choice == 1 ? QStringLiteral(", default") : QString()));
        }
        list.setText(QStringLiteral("Please choose."));
    };
    fill(*ImageCombo1, ImageList1, Kind::Crosshair);
    fill(*ImageCombo2, ImageList2, Kind::Reticle);
}

void Form3::pick(const QString& tag, const ImageCombo& list, QString& value, Catalogue::Kind kind)
{
    m_state.report.trap(tag, [&] {
        value = QString::number(list.selectedPosition());
        m_state.installGameFiles({Catalogue::archiveCopy(kind, value, m_state.modsPath())},
                                 std::nullopt, {});
    });
}

void Form3::command1Click()
{
    const ErrorReport::PlainerMessage chooseFirst{FailureNumber::NoItemChosen,
                                                  QStringLiteral("Please choose crosshairs.")};
    m_state.report.trap(
        QStringLiteral("3command1"),
        [this] {
            if (SettingsValues::isSecureOff(m_state.settings.secure)) {
                for (auto [list, value] : {std::pair{ImageCombo1, &m_state.settings.cr},
                                           std::pair{ImageCombo2, &m_state.settings.rt}}) {
                    if (!list->hasSelection())
                        throw Failure(FailureNumber::NoItemChosen);
                    *value = QString::number(list->selectedPosition());
                }
            }
            hide();
            m_mimgset();
            m_state.msaveset();
        },
        chooseFirst);
}

void Form3::showAppearance(bool secure)
{
    if (secure) {
        setImage(*Image1, ImageList1.picture(Catalogue::secureCrosshair));
        setImage(*Image2, ImageList2.picture(Catalogue::secureReticle));
    }
    // The pinned pictures stand in for the lists, the green lamp for the red
    // one, and there is nothing for OK to store.
    for (QWidget* control : std::initializer_list<QWidget*>{Image1, Image2, Image3})
        control->setVisible(secure);
    for (QWidget* control :
         std::initializer_list<QWidget*>{ImageCombo1, ImageCombo2, Command1, Image4})
        control->setVisible(!secure);
}
