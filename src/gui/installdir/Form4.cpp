#include "gui/installdir/Form4.h"

#include "core/app/Session.h"
#include "core/common/ErrorReport.h"
#include "core/common/Failure.h"
#include "core/common/MessageSink.h"
#include "gui/widgets/DirList.h"
#include "gui/widgets/DriveList.h"
#include "gui/widgets/Twips.h"

#include <QDir>
#include <QFutureWatcher>
#include <QLabel>
#include <QPushButton>

#include <algorithm>
#include <utility>

namespace {

constexpr int initialWidth = 2700;
constexpr int initialHeight = 3390;

// The layout at the initial size, in twips.
constexpr Twips::Placement label1At{120, 0, 2415, 615};
constexpr Twips::Placement dir1At{360, 720, 1935, 1890};
constexpr Twips::Placement drive1At{600, 2640, 1455, 315};
constexpr Twips::Placement command1At{120, 3000, 975, 375};
constexpr Twips::Placement command2At{1320, 3000, 975, 375};

// At the place the layout gives in twips, moved down and grown by pixels.
void placeGrown(const Twips& twips, QWidget& control, Twips::Placement at, int down,
                const QSize& grown)
{
    control.setGeometry(twips.rect(at).adjusted(0, down, grown.width(), down + grown.height()));
}

} // namespace

Form4::Form4(Session& session, const ErrorReport& report, MessageSink& sink,
             std::function<bool()> mainWindowLoading)
    : ProgramDialog(nullptr, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                                 | Qt::CustomizeWindowHint),
      m_twips(*this), m_session(session), m_report(report), m_sink(sink),
      m_mainWindowLoading(std::move(mainWindowLoading))
{
    setObjectName(QStringLiteral("Form4"));
    setWindowTitle(QStringLiteral("Choose Directory"));
    createControls();
    m_twips.fitCaptions();
    setMinimumSize(m_twips.size(initialWidth, initialHeight));
    resize(minimumSize());
    placeControls();
}

void Form4::createControls()
{
    Drive1 = new DriveList(this);
    Drive1->setObjectName(QStringLiteral("Drive1"));
    Drive1->setAccessibleName(QStringLiteral("Drive"));
    Dir1 = new DirList(this);
    Dir1->setObjectName(QStringLiteral("Dir1"));
    Command1 = m_twips.button(this, QStringLiteral("Ok"), command1At);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command2 = m_twips.button(this, QStringLiteral("Cancel"), command2At);
    Command2->setObjectName(QStringLiteral("Command2"));
    Label1 = new QLabel(QStringLiteral("Please choose your Battlefield 1942 directory"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setWordWrap(true);
    m_twips.place(*Label1, label1At);
    Dir1->setAccessibleName(Label1->text());
    Drive1->setDrive(QDir::currentPath());

    setTabOrder(Drive1, Dir1);
    setTabOrder(Dir1, Command1);
    setTabOrder(Command1, Command2);

    connect(Drive1, &DriveList::driveChanged, this, &Form4::drive1Change);
    connect(Drive1, &DriveList::searchEnded, this, [this] {
        placeControls();
        openGameIfOnlyOne();
    });
    connect(Dir1, &DirList::pathChanged, this, &Form4::dir1Change);
    connect(Command1, &QPushButton::clicked, this, &Form4::command1Click);
    connect(Command2, &QPushButton::clicked, this,
            [this] { m_report.trap(QStringLiteral("4command2"), [this] { hide(); }); });
}

// The list and its label take what the player adds to the window; the drive
// list and the buttons stay at the bottom.
void Form4::placeControls()
{
    const QSize initial = m_twips.size(initialWidth, initialHeight);
    const int wider = std::max(0, width() - initial.width());
    const int taller = std::max(0, height() - initial.height());
    placeGrown(m_twips, *Label1, label1At, 0, {wider, 0});
    placeGrown(m_twips, *Dir1, dir1At, 0, {wider, taller});
    // The drive list as wide as its longest entry, up to the label's right edge.
    placeGrown(m_twips, *Drive1, drive1At, taller, {0, 0});
    const int room = Label1->geometry().right() + 1 - Drive1->x();
    Drive1->resize(std::clamp(Drive1->widthForLongestEntry(), Drive1->width(),
                              std::max(room, Drive1->width())),
                   Drive1->height());
    placeGrown(m_twips, *Command1, command1At, taller, {0, 0});
    placeGrown(m_twips, *Command2, command2At, taller, {0, 0});
}

void Form4::resizeEvent(QResizeEvent* event)
{
    ProgramDialog::resizeEvent(event);
    placeControls();
}

void Form4::showSearch(QFuture<GameSearch::Found> search)
{
    m_search = std::move(search);
    // A watcher of the window's own, so that a window closed before the search
    // ends is simply not told: Qt 6.4's then(context, ...) asserts that its
    // context outlives the work.
    auto* watcher = new QFutureWatcher<GameSearch::Found>(this);
    connect(watcher, &QFutureWatcherBase::finished, this,
            [this, watcher] { Drive1->listFound(watcher->result()); });
    watcher->setFuture(m_search);
}

void Form4::askFirst()
{
    Command2->hide();
    m_firstStart = true;
    m_openTheOnlyGame = true;
    if (!Drive1->isSearching())
        openGameIfOnlyOne();
    setWindowModality(Qt::ApplicationModal);
    show();
}

void Form4::showFromSetup()
{
    if (!isVisible())
        setWindowModality(Qt::NonModal);
    show();
    raise();
    activateWindow();
}

void Form4::openGameIfOnlyOne()
{
    const QStringList games = Drive1->games();
    if (!std::exchange(m_openTheOnlyGame, false) || games.size() != 1)
        return;
    try {
        Dir1->setPath(games.first());
        Drive1->setDrive(games.first());
    } catch (const Failure&) {
        // Gone since it was found: the list stays where it is.
    }
}

void Form4::drive1Change()
{
    m_openTheOnlyGame = false;
    m_report.trap(QStringLiteral("drive1"), [this] { Dir1->setPath(Drive1->drive()); });
}

void Form4::dir1Change()
{
    // Browsing shows the folder but leaves the stored path alone, so that
    // Cancel or the close box really cancel.
    m_openTheOnlyGame = false;
    m_report.trap(QStringLiteral("dir1"), [this] { Label1->setText(Dir1->path()); });
}

void Form4::command1Click()
{
    m_openTheOnlyGame = false;
    m_report.trap(QStringLiteral("4command1"), [this] {
        m_session.setInstallPath(Dir1->path(), m_firstStart);
        Label1->setText(m_session.record().path);
        hide();
        if (std::exchange(m_firstStart, false))
            emit firstDirectoryChosen();
    });
}

void Form4::unload()
{
    m_report.trap(QStringLiteral("4unload"), [this] {
        if (!m_mainWindowLoading())
            return;
        m_sink.show(QStringLiteral(
            "I need a install path to run, so please reopen me and choose your path"));
        emit endRequested();
    });
}
