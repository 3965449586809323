#include "gui/installdir/Form4.h"

#include "core/common/MessageSink.h"
#include "gui/app/Module1.h"
#include "gui/widgets/Twips.h"
#include "gui/widgets/DirList.h"
#include "gui/widgets/DriveList.h"
#include "core/common/GamePaths.h"

#include <QDir>
#include <QLabel>
#include <QPushButton>

namespace {

QPushButton* makeButton(QWidget* parent, const QString& caption, int left)
{
    auto* button = new QPushButton(caption, parent);
    Twips::place(*button, left, 3000, 975, 375);
    button->setAutoDefault(false);
    return button;
}

} // namespace

Form4::Form4(Module1& module)
    : ProgramWindow(nullptr, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                                 | Qt::CustomizeWindowHint),
      m(module)
{
    setWindowTitle(QStringLiteral("Choose Directory"));
    resize(Twips::size(*this, 2700, 3390));
    createControls();
}

void Form4::createControls()
{
    Drive1 = new DriveList(this);
    Twips::place(*Drive1, 600, 2640, 1455, 315);
    Drive1->setAccessibleName(QStringLiteral("Drive"));
    Dir1 = new DirList(this);
    Twips::place(*Dir1, 360, 720, 1935, 1890);
    Command1 = makeButton(this, QStringLiteral("Ok"), 120);
    Command2 = makeButton(this, QStringLiteral("Cancel"), 1320);
    Label1 = new QLabel(QStringLiteral("Please choose your Battlefield 1942 directory"), this);
    Twips::place(*Label1, 120, 0, 2415, 615);
    Label1->setWordWrap(true);
    Dir1->setAccessibleName(Label1->text());
    Drive1->setDrive(QDir::currentPath());

    setTabOrder(Drive1, Dir1);
    setTabOrder(Dir1, Command1);
    setTabOrder(Command1, Command2);

    connect(Drive1, &DriveList::driveChanged, this, &Form4::drive1Change);
    connect(Dir1, &DirList::pathChanged, this, &Form4::dir1Change);
    connect(Command1, &QPushButton::clicked, this, &Form4::command1Click);
    connect(Command2, &QPushButton::clicked, this, [this] {
        m.report().trap(QStringLiteral("4command2"), [this] { hide(); });
    });
}

void Form4::drive1Change()
{
    m.report().trap(QStringLiteral("drive1"), [this] { Dir1->setPath(Drive1->drive()); });
}

void Form4::dir1Change()
{
    // Browsing shows the folder but leaves the stored path alone, so that
    // Cancel or the close box really cancel.
    m.report().trap(QStringLiteral("dir1"), [this] { Label1->setText(Dir1->path()); });
}

void Form4::command1Click()
{
    m.report().trap(QStringLiteral("4command1"), [this] {
        m.settings.path = Dir1->path();
        Label1->setText(m.settings.path);
        m.modsPath = GamePaths::modsPath(m.settings.path);
        m.msaveset();
        hide();
    });
}

void Form4::unload()
{
    m.report().trap(QStringLiteral("4unload"), [this] {
        if (!m.isLoading())
            return;
        m.sink().show(
            QStringLiteral("I need a install path to run, so please reopen me and choose your path"));
        m.endProgram();
    });
}
