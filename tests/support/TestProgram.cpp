#include "support/TestProgram.h"

#include "gui/app/Form2.h"
#include "gui/widgets/ImageCombo.h"

#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

TestProgram::TestProgram(TestFolder::Row row, Start when)
    : module({sink, copier, tray, folder.databaseFile(), [this] { ++ends; }})
{
    if (when != Start::First && !row.path)
        row.path = folder.gameRow().path;
    folder.writeSettings(row);
    if (when == Start::Now)
        start();
}

void TestProgram::start()
{
    QSignalSpy ended(&module.startup(), &Startup::ended);
    const int endsBefore = ends;
    module.start();
    if (!QTest::qWaitFor([&] { return !ended.isEmpty() || ends > endsBefore; }, 10000))
        qFatal("the start-up never ended");
}

QWidget* TestProgram::window(const char* name)
{
    // A window closed for good is deleted later: gone for the player already.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->objectName() == QLatin1String(name))
            return window;
    return nullptr;
}

void TestProgram::whenDirectoryChooserShows(std::function<void(QWidget&)> action)
{
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, action] {
        if (QWidget* chooser = window("Form4"); chooser && chooser->isVisible())
            poll->stop(), poll->deleteLater(), action(*chooser);
    });
    poll->start(10);
}

void TestProgram::withChooserOpen(const std::function<void(QWidget&)>& action)
{
    QTimer::singleShot(50, [action] {
        QWidget* chooser = window("Form3");
        QVERIFY(chooser && chooser->isVisible());
        action(*chooser);
        if (QWidget* still = window("Form3"); still && still->isVisible())
            still->findChild<QPushButton*>(QStringLiteral("Command2"))->click();
    });
    inMain<QAction>("mcrform")->trigger();
}

void TestProgram::pick(ImageCombo& list, int position)
{
    list.setFocus();
    list.setCurrentIndex(position - 2); // the item above it, which the key moves from
    QTest::keyClick(&list, Qt::Key_Down);
}

void TestProgram::choose(int crosshair, int reticle)
{
    withChooserOpen([=](QWidget& chooser) {
        pick(*chooser.findChild<ImageCombo*>(QStringLiteral("ImageCombo1")), crosshair);
        pick(*chooser.findChild<ImageCombo*>(QStringLiteral("ImageCombo2")), reticle);
        chooser.findChild<QPushButton*>(QStringLiteral("Command1"))->click();
    });
}
