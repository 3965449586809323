#include "gui/crosshair/Form3.h"

#include "core/app/Session.h"
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
QLabel* makeImage(Twips& twips, QWidget* parent, const char* name, Twips::Placement at)
{
    auto* image = new QLabel(parent);
    image->setObjectName(QLatin1String(name));
    twips.place(*image, at);
    return image;
}

void setImage(QLabel& image, const QImage& picture)
{
    image.setPixmap(QPixmap::fromImage(picture));
    image.resize(picture.size());
}

} // namespace

Form3::Form3(Session& session, const ErrorReport& report)
    : ProgramDialog(nullptr, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                                 | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint),
      ImageList1(PictureCatalogue::crosshairPictures()),
      ImageList2(PictureCatalogue::reticlePictures()), m_session(session), m_report(report)
{
    setObjectName(QStringLiteral("Form3"));
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
    ImageCombo2->setObjectName(QStringLiteral("ImageCombo2"));
    twips.place(*ImageCombo2, {120, 960, 1695, 330});
    ImageCombo2->setAccessibleName(QStringLiteral("Reticle"));
    ImageCombo1 = new ImageCombo(this);
    ImageCombo1->setObjectName(QStringLiteral("ImageCombo1"));
    twips.place(*ImageCombo1, {120, 240, 1695, 330});
    ImageCombo1->setAccessibleName(QStringLiteral("Crosshair"));
    Command1 = twips.button(this, QStringLiteral("OK"), {120, 2040, 735, 375});
    Command1->setObjectName(QStringLiteral("Command1"));
    Command2 = twips.button(this, QStringLiteral("Cancel"), {1080, 2040, 735, 375});
    Command2->setObjectName(QStringLiteral("Command2"));
    Label1 = new QLabel(QStringLiteral("Secure Mode:"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    twips.place(*Label1, {120, 1680, 1095, 255});

    Image3 = makeImage(twips, this, "Image3", {1200, 1680, 255, 285});
    Image4 = makeImage(twips, this, "Image4", {1200, 1680, 255, 285});
    Image4->raise(); // the red lamp lies above the green one
    // Named apart: a screen reader tells the state by the lamp's name.
    Image3->setAccessibleName(QStringLiteral("Secure Mode on"));
    Image4->setAccessibleName(QStringLiteral("Secure Mode off"));
    Image1 = makeImage(twips, this, "Image1", {120, 240, 735, 495});
    Image1->setAccessibleName(ImageCombo1->accessibleName());
    Image1->hide();
    Image2 = makeImage(twips, this, "Image2", {120, 960, 735, 495});
    Image2->setAccessibleName(ImageCombo2->accessibleName());
    Image2->hide();

    setTabOrder(ImageCombo2, ImageCombo1);
    setTabOrder(ImageCombo1, Command1);
    setTabOrder(Command1, Command2);
    ImageCombo2->setFocus();

    using Catalogue::Kind;
    connect(ImageCombo1, &ImageCombo::clicked, this,
            [this] { pick(QStringLiteral("imgcmb1"), *ImageCombo1, Kind::Crosshair); });
    connect(ImageCombo2, &ImageCombo::clicked, this,
            [this] { pick(QStringLiteral("imgcmb2"), *ImageCombo2, Kind::Reticle); });
    connect(Command1, &QPushButton::clicked, this, &Form3::command1Click);
    connect(Command2, &QPushButton::clicked, this, &Form3::command2Click);
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

void Form3::showEvent(QShowEvent* event)
{
    ProgramDialog::showEvent(event);
    for (int kind = 0; kind < 2; ++kind)
        m_openedWith[kind] = m_held[kind] =
            (kind == 0 ? ImageCombo1 : ImageCombo2)->selectedPosition();
}

void Form3::pick(const QString& tag, ImageCombo& list, Catalogue::Kind kind)
{
    int& held = m_held[kind == Catalogue::Kind::Crosshair ? 0 : 1];
    if (m_report.trap(tag, [&] { m_session.pick(kind, list.selectedPosition()); }))
        held = list.selectedPosition();
    else
        list.setCurrentIndex(held - 1); // the item whose archive the game still holds
}

void Form3::command1Click()
{
    const ErrorReport::PlainerMessage chooseFirst{FailureNumber::NoItemChosen,
                                                  QStringLiteral("Please choose crosshairs.")};
    const bool kept = m_report.trap(
        QStringLiteral("3command1"),
        [this] {
            // In Secure Mode the lists are not read: the picks are kept as they are.
            const bool readLists = SettingsValues::isSecureOff(m_session.record().secure);
            for (const ImageCombo* list : {ImageCombo1, ImageCombo2}) {
                if (readLists && !list->hasSelection())
                    throw Failure(FailureNumber::NoItemChosen);
            }
            hide();
            if (readLists)
                m_session.keepChoices(ImageCombo1->selectedPosition(),
                                      ImageCombo2->selectedPosition());
            else
                m_session.keepPicks();
        },
        chooseFirst);
    if (!kept && !isVisible())
        showOpenedChoices(); // the save failed, and the picks went with it
}

void Form3::command2Click()
{
    m_session.dropPicks();
    showOpenedChoices();
    hide();
}

void Form3::showOpenedChoices()
{
    ImageCombo1->setCurrentIndex(m_openedWith[0] - 1);
    ImageCombo2->setCurrentIndex(m_openedWith[1] - 1);
}

void Form3::unload()
{
    m_session.dropPicks();
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
