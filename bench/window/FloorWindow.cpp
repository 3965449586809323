#include "window/FloorWindow.h"

#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QRadioButton>

namespace {

struct Caption {
    const char* text;
    QRect at;
};

// The main window's captions where it puts them, in pixels at 96 dpi.
const Caption captions[] = {{"Status", {8, 8, 33, 17}},        {"unpure", {8, 24, 49, 17}},
                            {"RTR", {64, 8, 25, 17}},          {"yes", {64, 24, 25, 17}},
                            {"SW", {104, 8, 25, 17}},          {"yes", {104, 24, 25, 17}},
                            {"Pure", {24, 56, 33, 17}},        {"Grimtide", {24, 80, 49, 17}},
                            {"RTR", {112, 56, 25, 17}},        {"SW", {112, 80, 25, 17}},
                            {"Crosshair:", {16, 96, 49, 17}},  {"Reticle:", {80, 96, 57, 17}},
                            {"Secure Mode", {32, 160, 73, 17}}};
enum CaptionNumber { pure = 6, grimtide, rtr, sw, crosshair, reticle, secureMode };

} // namespace

FloorWindow::FloorWindow(const QIcon& icon, QSize size)
{
    setWindowTitle(QStringLiteral("Grimtide Switch"));
    setWindowIcon(icon);
    setFixedSize(size);
    addMenus();
    addCaptions();
    addBoxes();
    addPictures();
}

void FloorWindow::addMenus()
{
    auto* bar = new QMenuBar(this);
    bar->addAction(QStringLiteral("S&etup"));
    bar->addAction(QStringLiteral("&Select Crosshair"));
    m_menuHeight = bar->sizeHint().height();
    bar->setGeometry(0, 0, width(), m_menuHeight);
    auto* trayMenu = new QMenu(QStringLiteral("&systray"), this);
    trayMenu->addAction(QStringLiteral("&pure"));
    trayMenu->addAction(QStringLiteral("&grimtide"));
    trayMenu->addSeparator();
    trayMenu->addAction(QStringLiteral("&exit"));
}

void FloorWindow::addCaptions()
{
    for (const Caption& caption : captions) {
        auto* label = new QLabel(QString::fromLatin1(caption.text), this);
        place(*label, caption.at);
        m_captions.append(label);
    }
}

void FloorWindow::addBoxes()
{
    addBox<QRadioButton>(pure, {0, 56, 17, 17});
    addBox<QRadioButton>(grimtide, {0, 80, 17, 17});
    addBox<QCheckBox>(rtr, {88, 56, 17, 17});
    addBox<QCheckBox>(sw, {88, 80, 17, 17});
    addBox<QCheckBox>(secureMode, {8, 160, 17, 17});
}

void FloorWindow::addPictures()
{
    addPicture(crosshair, QStringLiteral(":/floor/cr1.bmp"), {16, 112, 41, 41});
    addPicture(reticle, QStringLiteral(":/floor/r1.bmp"), {80, 112, 41, 41});
}

template <typename Box> void FloorWindow::addBox(int caption, QRect at)
{
    auto* box = new Box(this);
    place(*box, at);
    box->setAccessibleName(m_captions[caption]->text());
    m_captions[caption]->setBuddy(box);
}

void FloorWindow::addPicture(int caption, const QString& picture, QRect at)
{
    auto* box = new QLabel(this);
    place(*box, at);
    box->setFrameShape(QFrame::Panel);
    box->setFrameShadow(QFrame::Sunken);
    box->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    box->setAutoFillBackground(true);
    QPalette white = box->palette();
    white.setColor(QPalette::Window, Qt::white);
    box->setPalette(white);
    box->setAccessibleName(m_captions[caption]->text());
    box->setPixmap(QPixmap(picture));
}

void FloorWindow::place(QWidget& control, QRect at) const
{
    control.setGeometry(at.translated(0, m_menuHeight));
}
