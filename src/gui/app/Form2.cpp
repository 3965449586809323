#include "gui/app/Form2.h"

#include "core/app/ModeSwitch.h"
#include "core/app/Session.h"
#include "core/common/MessageSink.h"
#include "core/settings/SettingsValues.h"
#include "gui/app/MainWindowTray.h"
#include "gui/crosshair/PictureCatalogue.h"
#include "gui/crosshair/PictureRoutine.h"
#include "gui/widgets/BoxCaption.h"
#include "gui/widgets/Twips.h"

#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

using Placement = Twips::Placement;

constexpr int clientWidth = 2130;
constexpr int clientHeight = 2745;

template <typename Control>
Control* makeControl(Twips& twips, QWidget* area, const char* name, const QString& caption,
                     Placement at)
{
    auto* control = new Control(caption, area);
    control->setObjectName(QLatin1String(name));
    twips.place(*control, at);
    return control;
}

// The box alone is drawn; the label beside it is its caption for the eye
// and, through the accessible name, for screen readers.
template <typename Box>
Box* makeBox(Twips& twips, QWidget* area, const char* name, QLabel* caption, Placement at)
{
    auto* box = makeControl<Box>(twips, area, name, QString(), at);
    box->setAccessibleName(caption->text());
    caption->setBuddy(box);
    BoxCaption::attach(*caption, *box);
    return box;
}

QLabel* makePictureBox(Twips& twips, QWidget* area, const char* name, const QString& caption,
                       Placement at)
{
    auto* box = makeControl<QLabel>(twips, area, name, QString(), at);
    box->setFrameShape(QFrame::Panel);
    box->setFrameShadow(QFrame::Sunken);
    box->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    box->setAutoFillBackground(true);
    QPalette white = box->palette();
    white.setColor(QPalette::Window, Qt::white);
    box->setPalette(white);
    box->setAccessibleName(caption);
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

QAction* makeAction(QMenu& menu, const char* name, const QString& caption)
{
    QAction* action = menu.addAction(caption);
    action->setObjectName(QLatin1String(name));
    return action;
}

GameMode shownMode(const SettingsRecord& record)
{
    return SettingsValues::isPure(record.status) ? GameMode::Pure : GameMode::Grimtide;
}

} // namespace

Form2::Form2(Session& session, const ErrorReport& report, MessageSink& sink, TrayBackend& tray)
    : ProgramWindow(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowMinimizeButtonHint
                                 | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint
                                 | Qt::MSWindowsFixedSizeDialogHint),
      m_session(session), m_report(report), m_sink(sink)
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Grimtide Switch"));
    setWindowIcon(PictureCatalogue::programIcon());
    QWidget* area = makeClientArea(*this);
    Twips twips(*this);
    createControls(twips, area);
    createMenus();
    twips.keepTitlesOn(*menuBar, clientWidth);
    twips.fitCaptions();
    area->setFixedSize(twips.size(clientWidth, clientHeight));
    m_tray = new MainWindowTray(*this, *mpopupsys, tray, session.record());
    connectCommands();
}

void Form2::createControls(Twips& twips, QWidget* area)
{
    using L = QLabel;
    Label1 = makeControl<L>(twips, area, "Label1", QStringLiteral("Status"), {120, 120, 495, 255});
    Label4 = makeControl<L>(twips, area, "Label4", QStringLiteral("unpure"), {120, 360, 735, 255});
    Label9 = makeControl<L>(twips, area, "Label9", QStringLiteral("RTR"), {960, 120, 375, 255});
    Label7 = makeControl<L>(twips, area, "Label7", QStringLiteral("yes"), {960, 360, 375, 255});
    Label10 = makeControl<L>(twips, area, "Label10", QStringLiteral("SW"), {1560, 120, 375, 255});
    Label8 = makeControl<L>(twips, area, "Label8", QStringLiteral("yes"), {1560, 360, 375, 255});
    Label5 = makeControl<L>(twips, area, "Label5", QStringLiteral("Pure"), {360, 840, 495, 255});
    Option1 = makeBox<QRadioButton>(twips, area, "Option1", Label5, {0, 840, 255, 255});
    Label6 =
        makeControl<L>(twips, area, "Label6", QStringLiteral("Grimtide"), {360, 1200, 735, 255});
    Option2 = makeBox<QRadioButton>(twips, area, "Option2", Label6, {0, 1200, 255, 255});
    Label2 = makeControl<L>(twips, area, "Label2", QStringLiteral("RTR"), {1680, 840, 375, 255});
    Check1 = makeBox<QCheckBox>(twips, area, "Check1", Label2, {1320, 840, 255, 255});
    Label3 = makeControl<L>(twips, area, "Label3", QStringLiteral("SW"), {1680, 1200, 375, 255});
    Check2 = makeBox<QCheckBox>(twips, area, "Check2", Label3, {1320, 1200, 255, 255});
    Label12 =
        makeControl<L>(twips, area, "Label12", QStringLiteral("Crosshair:"), {240, 1440, 735, 255});
    Picture1 = makePictureBox(twips, area, "Picture1", Label12->text(), {240, 1680, 615, 615});
    Label13 =
        makeControl<L>(twips, area, "Label13", QStringLiteral("Reticle:"), {1200, 1440, 855, 255});
    Picture2 = makePictureBox(twips, area, "Picture2", Label13->text(), {1200, 1680, 615, 615});
    Label14 = makeControl<L>(twips, area, "Label14", QStringLiteral("Secure Mode"),
                             {480, 2400, 1095, 255});
    Check4 = makeBox<QCheckBox>(twips, area, "Check4", Label14, {120, 2400, 255, 255});

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
    msetup->setObjectName(QStringLiteral("msetup"));
    mcrform = menuBar->addAction(QStringLiteral("&Select Crosshair"));
    mcrform->setObjectName(QStringLiteral("mcrform"));
    // Never on the menu bar: it is the tray icon's pop-up menu.
    mpopupsys = new QMenu(QStringLiteral("&systray"), this);
    mpopupsys->setObjectName(QStringLiteral("mpopupsys"));
    mpoppure = makeAction(*mpopupsys, "mpoppure", QStringLiteral("&pure"));
    mpopunpure = makeAction(*mpopupsys, "mpopunpure", QStringLiteral("&grimtide"));
    msep1 = mpopupsys->addSeparator();
    msep1->setObjectName(QStringLiteral("msep1"));
    mpopexit = makeAction(*mpopupsys, "mpopexit", QStringLiteral("&exit"));
}

void Form2::connectCommands()
{
    connect(Option1, &QRadioButton::clicked, this, [this] { optionClick(GameMode::Pure); });
    connect(Option2, &QRadioButton::clicked, this, [this] { optionClick(GameMode::Grimtide); });
    connect(Check1, &QCheckBox::clicked, this,
            [this](bool ticked) { packClick(ExpansionPack::Rtr, ticked); });
    connect(Check2, &QCheckBox::clicked, this,
            [this](bool ticked) { packClick(ExpansionPack::Sw, ticked); });
    connect(Check4, &QCheckBox::clicked, this, &Form2::check4Click);
    connect(msetup, &QAction::triggered, this, [this] {
        m_report.trap(QStringLiteral("msetup"),
                      [this] { emit installDirectoryChooserRequested(); });
    });
    connect(mcrform, &QAction::triggered, this, [this] {
        m_report.trap(QStringLiteral("mcrform"), [this] { emit crosshairChooserRequested(); });
    });
    connect(mpoppure, &QAction::triggered, this, [this] { trayModeItem(GameMode::Pure); });
    connect(mpopunpure, &QAction::triggered, this, [this] { trayModeItem(GameMode::Grimtide); });
    connect(mpopexit, &QAction::triggered, this,
            [this] { leave(QStringLiteral("mpopexit"), false); });
    connect(&m_session, &Session::recordChanged, this, &Form2::showRecord);
}

void Form2::showLoaded()
{
    m_loaded = true;
    showRecord();
    show();
    repaint();
    m_tray->addIcon();
}

void Form2::showRecord()
{
    // Until the start-up has drawn it, the window keeps its first captions.
    if (!m_loaded)
        return;
    const SettingsRecord& record = m_session.record();
    Label4->setText(record.status);
    Label7->setText(record.rtr);
    Label8->setText(record.sw);
    Check1->setChecked(!SettingsValues::isPackOff(record.rtr));
    Check2->setChecked(!SettingsValues::isPackOff(record.sw));
    showMode(shownMode(record));
    Check4->setChecked(SettingsValues::isSecureOn(record.secure));
    showPictures();
}

void Form2::showMode(GameMode mode)
{
    const bool pure = mode == GameMode::Pure;
    // The tray menu offers only the switch to the other mode.
    mpopunpure->setVisible(pure);
    mpoppure->setVisible(!pure);
    (pure ? Option1 : Option2)->setChecked(true);
    // Tab stops at the pair's option that is on; the arrow keys move within it.
    (pure ? Option1 : Option2)->setFocusPolicy(Qt::StrongFocus);
    (pure ? Option2 : Option1)->setFocusPolicy(Qt::ClickFocus);
}

// The pictures change only with what they show, so that a choice the record
// can't show is reported once, not at every change.
void Form2::showPictures()
{
    const SettingsRecord& record = m_session.record();
    if (m_pictured && m_pictured->secure == record.secure && m_pictured->cr == record.cr
        && m_pictured->rt == record.rt)
        return;
    m_pictured = record;
    mimgset();
}

void Form2::mimgset()
{
    m_report.trap(QStringLiteral("mimgset"),
                  [this] { PictureRoutine::show(m_session.record(), *Picture1, *Picture2); });
}

void Form2::optionClick(GameMode mode)
{
    m_report.trap(mode == GameMode::Pure ? QStringLiteral("option1") : QStringLiteral("option2"),
                  [&] {
                      if (ModeSwitch::switches(m_session.record().status, mode))
                          switchMode(mode);
                  });
}

void Form2::clickOption(GameMode mode)
{
    (mode == GameMode::Pure ? Option1 : Option2)->click();
}

void Form2::switchMode(GameMode mode)
{
    const bool pure = mode == GameMode::Pure;
    const bool done = ModeSwitch::trapped(m_report, mode, [&] {
        if (pure && m_session.record().status != SettingsValues::grimtide())
            m_sink.show(QStringLiteral("you are already in pure mode"));
        m_session.switchTo(mode);
    });
    // The record's redraw shows the mode column as the status reads; a row
    // whose status is neither still shows the mode asked for, and after a
    // failure the column shows the mode the game is still in.
    const GameMode shown = shownMode(m_session.record());
    if (!done || shown != mode)
        showMode(done ? mode : shown);
}

void Form2::packClick(ExpansionPack pack, bool ticked)
{
    const bool rtr = pack == ExpansionPack::Rtr;
    const bool done = m_report.trap(rtr ? QStringLiteral("check1") : QStringLiteral("check2"),
                                    [&] { m_session.setPack(pack, ticked); });
    // A refused change leaves the box as the pack still is.
    if (!done)
        (rtr ? Check1 : Check2)
            ->setChecked(
                !SettingsValues::isPackOff(rtr ? m_session.record().rtr : m_session.record().sw));
}

void Form2::check4Click(bool ticked)
{
    if (m_report.trap(QStringLiteral("check4"), [&] { m_session.setSecure(ticked); }))
        emit secureModeSwitched(ticked);
    else
        Check4->setChecked(SettingsValues::isSecureOn(m_session.record().secure));
}

void Form2::trayModeItem(GameMode mode)
{
    const bool pure = mode == GameMode::Pure;
    m_report.trap(pure ? QStringLiteral("mpoppure") : QStringLiteral("mpopunpure"), [&] {
        switchMode(mode);
        m_tray->setTip(pure ? QStringLiteral("Pure") : QStringLiteral("Unpure"));
    });
}

// The close box and "&exit" both close the other windows and save; the close
// box ends the program even after a failure, "&exit" only once all went well.
void Form2::leave(const QString& tag, bool evenAfterFailure)
{
    const bool saved = m_report.trap(tag, [this] {
        emit leaving();
        m_session.msaveset();
    });
    if (saved || evenAfterFailure) {
        m_tray->removeIcon();
        emit endRequested();
    }
}

void Form2::unload()
{
    leave(QStringLiteral("unload"), true);
}
