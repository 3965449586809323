#include "gui/app/Form2.h"

#include "core/settings/SettingsValues.h"
#include "gui/app/Form1.h"
#include "gui/app/MainWindowTray.h"
#include "gui/app/Module1.h"
#include "gui/crosshair/Form3.h"
#include "gui/crosshair/PictureCatalogue.h"
#include "gui/installdir/Form4.h"
#include "gui/widgets/BoxCaption.h"
#include "gui/widgets/ClickFromCode.h"
#include "gui/widgets/Twips.h"

#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

using Placement = Twips::Placement;

constexpr int clientWidth = 2130;
constexpr int clientHeight = 2745;

template <typename Control>
Control* makeControl(Twips& twips, QWidget* area, const QString& caption, Placement at)
{
    auto* control = new Control(caption, area);
    twips.place(*control, at);
    return control;
}

// The box alone is drawn; the label beside it is its caption for the eye
// and, through the accessible name, for screen readers.
template <typename Box> Box* makeBox(Twips& twips, QWidget* area, QLabel* caption, Placement at)
{
    auto* box = makeControl<Box>(twips, area, QString(), at);
    box->setAccessibleName(caption->text());
    caption->setBuddy(box);
    BoxCaption::attach(*caption, *box);
    return box;
}

QLabel* makePictureBox(Twips& twips, QWidget* area, const QString& name, Placement at)
{
    auto* box = makeControl<QLabel>(twips, area, QString(), at);
    box->setFrameShape(QFrame::Panel);
    box->setFrameShadow(QFrame::Sunken);
    box->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    box->setAutoFillBackground(true);
    QPalette white = box->palette();
    white.setColor(QPalette::Window, Qt::white);
    box->setPalette(white);
    box->setAccessibleName(name);
    return box;
}

// The controls' area under the menu bar, which the window fits exactly.
QWidget* makeClientArea(QWidget& window)
{
    auto* area = new QWidget(&window);
    auto* layout = new QVBoxLayout(&window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(area);
    return area;
}

} // namespace

Form2::Form2(Module1& module)
    : ProgramWindow(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowMinimizeButtonHint
                                 | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint
                                 | Qt::MSWindowsFixedSizeDialogHint),
      m_module(module), m_modeSwitch(module.state, *this), m_expansionPacks(module.state, *this)
{
    setWindowTitle(QStringLiteral("Grimtide Switch"));
    setWindowIcon(PictureCatalogue::programIcon());
    QWidget* area = makeClientArea(*this);
    Twips twips(*this);
    createControls(twips, area);
    createMenus();
    twips.keepTitlesOn(*menuBar, clientWidth);
    twips.fitCaptions();
    area->setFixedSize(twips.size(clientWidth, clientHeight));
    m_tray = new MainWindowTray(*this, *mpopupsys, module.tray(), module.state.settings);
    connectCommands();
}

void Form2::createControls(Twips& twips, QWidget* area)
{
    Label1 = makeControl<QLabel>(twips, area, QStringLiteral("Status"), {120, 120, 495, 255});
    Label4 = makeControl<QLabel>(twips, area, QStringLiteral("unpure"), {120, 360, 735, 255});
    Label9 = makeControl<QLabel>(twips, area, QStringLiteral("RTR"), {960, 120, 375, 255});
    Label7 = makeControl<QLabel>(twips, area, QStringLiteral("yes"), {960, 360, 375, 255});
    Label10 = makeControl<QLabel>(twips, area, QStringLiteral("SW"), {1560, 120, 375, 255});
    Label8 = makeControl<QLabel>(twips, area, QStringLiteral("yes"), {1560, 360, 375, 255});
    Label5 = makeControl<QLabel>(twips, area, QStringLiteral("Pure"), {360, 840, 495, 255});
    Option1 = makeBox<QRadioButton>(twips, area, Label5, {0, 840, 255, 255});
    Label6 = makeControl<QLabel>(twips, area, QStringLiteral("Grimtide"), {360, 1200, 735, 255});
    Option2 = makeBox<QRadioButton>(twips, area, Label6, {0, 1200, 255, 255});
    Label2 = makeControl<QLabel>(twips, area, QStringLiteral("RTR"), {1680, 840, 375, 255});
    Check1 = makeBox<QCheckBox>(twips, area, Label2, {1320, 840, 255, 255});
    Label3 = makeControl<QLabel>(twips, area, QStringLiteral("SW"), {1680, 1200, 375, 255});
    Check2 = makeBox<QCheckBox>(twips, area, Label3, {1320, 1200, 255, 255});
    Label12 = makeControl<QLabel>(twips, area, QStringLiteral("Crosshair:"), {240, 1440, 735, 255});
    Picture1 = makePictureBox(twips, area, Label12->text(), {240, 1680, 615, 615});
    Label13 = makeControl<QLabel>(twips, area, QStringLiteral("Reticle:"), {1200, 1440, 855, 255});
    Picture2 = makePictureBox(twips, area, Label13->text(), {1200, 1680, 615, 615});
    Label14 =
        makeControl<QLabel>(twips, area, QStringLiteral("Secure Mode"), {480, 2400, 1095, 255});
    Check4 = makeBox<QCheckBox>(twips, area, Label14, {120, 2400, 255, 255});

    // The controls that take the focus, in their tab order.
    setTabOrder(Check2, Check1);
    setTabOrder(Check1, Option2);
    setTabOrder(Option2, Option1);
    setTabOrder(Option1, Check4);
}

void Form2::createMenus()
{
    menuBar = new QMenuBar(this);
    layout()->setMenuBar(menuBar);
    msetup = menuBar->addAction(QStringLiteral("S&etup"));
    mcrform = menuBar->addAction(QStringLiteral("&Select Crosshair"));
    // Never on the menu bar: it is the tray icon's pop-up menu.
    mpopupsys = new QMenu(QStringLiteral("&systray"), this);
    mpoppure = mpopupsys->addAction(QStringLiteral("&pure"));
    mpopunpure = mpopupsys->addAction(QStringLiteral("&grimtide"));
    msep1 = mpopupsys->addSeparator();
    mpopexit = mpopupsys->addAction(QStringLiteral("&exit"));
}

void Form2::connectCommands()
{
    connect(Option1, &QRadioButton::clicked, this, [this] { m_modeSwitch.option1Click(); });
    connect(Option2, &QRadioButton::clicked, this, [this] { m_modeSwitch.option2Click(); });
    connect(Check1, &QCheckBox::clicked, this,
            [this](bool ticked) { m_expansionPacks.check1Click(ticked); });
    connect(Check2, &QCheckBox::clicked, this,
            [this](bool ticked) { m_expansionPacks.check2Click(ticked); });
    connect(Check4, &QCheckBox::clicked, this, [this](bool ticked) {
        m_module.secureMode().check4Click(ticked);
        // A refused change leaves the box as Secure Mode still is.
        Check4->setChecked(SettingsValues::isSecureOn(m_module.state.settings.secure));
    });
    connect(msetup, &QAction::triggered, this, &Form2::msetupClick);
    connect(mcrform, &QAction::triggered, this, &Form2::mcrformClick);
    connect(mpoppure, &QAction::triggered, this,
            [this] { trayModeItem(QStringLiteral("mpoppure"), true); });
    connect(mpopunpure, &QAction::triggered, this,
            [this] { trayModeItem(QStringLiteral("mpopunpure"), false); });
    connect(mpopexit, &QAction::triggered, this, &Form2::mpopexitClick);
}

void Form2::load()
{
    m_module.state.setLoading(true);
    m_module.report().trap(QStringLiteral("load"), [this] {
        loadSettingsRow();
        if (m_module.programEnded())
            return;
        setControlsFromSettings();
        m_module.mimgset();
        show();
        repaint();
        m_tray->addIcon();
        m_module.state.setLoading(false);
    });
}

void Form2::loadSettingsRow()
{
    // A field without a value (the path, on a first start) reads as the
    // empty text and costs no other field; the player is asked for the
    // install directory, whose Ok saves the whole record.
    if (m_module.state.loadSettings())
        askForInstallDirectory();
}

void Form2::askForInstallDirectory()
{
    Form4& chooser = m_module.form4();
    chooser.Command2->hide();
    chooser.openTheOnlyGame();
    chooser.exec();
}

void Form2::setControlsFromSettings()
{
    const SettingsRecord& settings = m_module.state.settings;
    showStatus(settings.status);
    showPackChoice(ExpansionPack::Rtr, settings.rtr);
    showPackChoice(ExpansionPack::Sw, settings.sw);
    ClickFromCode::setChecked(*Check1, !SettingsValues::isPackOff(settings.rtr));
    ClickFromCode::setChecked(*Check2, !SettingsValues::isPackOff(settings.sw));
    showMode(SettingsValues::isPure(settings.status) ? GameMode::Pure : GameMode::Grimtide);
    if (SettingsValues::isSecureOn(settings.secure))
        ClickFromCode::setChecked(*Check4, true);
}

void Form2::showStatus(const QString& status)
{
    Label4->setText(status);
}

void Form2::showMode(GameMode mode)
{
    const bool pure = mode == GameMode::Pure;
    // The tray menu offers only the switch to the other mode.
    mpopunpure->setVisible(pure);
    mpoppure->setVisible(!pure);
    ClickFromCode::turnOn(pure ? *Option1 : *Option2);
    ClickFromCode::turnOff(pure ? *Option2 : *Option1);
    // Tab stops at the pair's option that is on; the arrow keys move within it.
    (pure ? Option1 : Option2)->setFocusPolicy(Qt::StrongFocus);
    (pure ? Option2 : Option1)->setFocusPolicy(Qt::ClickFocus);
}

void Form2::showPackChoice(ExpansionPack pack, const QString& value)
{
    (pack == ExpansionPack::Rtr ? Label7 : Label8)->setText(value);
}

void Form2::trayModeItem(const QString& tag, bool pure)
{
    m_module.report().trap(tag, [this, pure] {
        if (pure)
            m_modeSwitch.msetp();
        else
            m_modeSwitch.msetu();
        m_tray->setTip(pure ? QStringLiteral("Pure") : QStringLiteral("Unpure"));
    });
}

void Form2::mpopexitClick()
{
    m_module.report().trap(QStringLiteral("mpopexit"), [this] {
        m_module.form1Holder().close();
        m_module.form3Holder().close();
        m_module.msaveset();
        m_tray->removeIcon();
        m_module.endProgram();
    });
}

void Form2::unload()
{
    m_module.report().trap(QStringLiteral("unload"), [this] {
        m_module.form3Holder().close();
        m_module.form1Holder().close();
        m_module.msaveset();
    });
    // Even after a failed save the icon goes and the process ends: nothing
    // may linger without a window.
    m_tray->removeIcon();
    m_module.endProgram();
}

void Form2::mcrformClick()
{
    m_module.report().trap(QStringLiteral("mcrform"), [this] { m_module.form3().exec(); });
}

void Form2::msetupClick()
{
    m_module.report().trap(QStringLiteral("msetup"), [this] {
        Form4& chooser = m_module.form4();
        chooser.show();
        chooser.raise();
        chooser.activateWindow();
    });
}
