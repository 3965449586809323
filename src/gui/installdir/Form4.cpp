#include "gui/installdir/Form4.h"

#include "core/common/MessageSink.h"
#include "gui/app/Module1.h"
#include "gui/widgets/Twips.h"
#include "gui/widgets/DirList.h"
#include "gui/widgets/DriveList.h"

#include <QDir>
#include <QLabel>
#include <QPushButton>

Form4::Form4(Module1& module)
    : ProgramWindow(nullptr, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                                 | Qt::CustomizeWindowHint),
      m_module(module)
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
    Command1 = Twips::button(this, QStringLiteral("Ok"), {120, 3000, 975, 375});
    Command2 = Twips::button(this, QStringLiteral("Cancel"), {1320, 3000, 975, 375});
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
        m_module.report().trap(QStringLiteral("4command2"), [this] { hide(); });
    });
}

void Form4::drive1Change()
{
    m_module.report().trap(QStringLiteral("drive1"), [this] { Dir1->setPath(Drive1->drive()); });
}

void Form4::dir1Change()
{
    // Browsing shows the folder but leaves the stored path alone, so that
    // Cancel or the close box really cancel.
    m_module.report().trap(QStringLiteral("dir1"), [this] { Label1->setText(Dir1->path()); });
}

void Form4::command1Click()
{
    m_module.report().trap(QStringLiteral("4command1"), [this] {
        m_module.state.setInstallPath(Dir1->path());
        Label1->setText(m_module.state.settings.path);
        m_module.msaveset();
        hide();
    });
}

void Form4::unload()
{
    m_module.report().trap(QStringLiteral("4unload"), [this] {
        if (!m_module.state.isLoading())
            return;
        m_module.state.sink.show(
            QStringLiteral("I need a install path to run, so please reopen me and choose your path"));
        m_module.endProgram();
    });
}
