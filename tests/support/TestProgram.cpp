#include "support/TestProgram.h"

#include "gui/app/Form1.h"
#include "gui/app/Form2.h"
#include "gui/crosshair/Form3.h"
#include "gui/installdir/Form4.h"
#include "gui/widgets/ImageCombo.h"

#include <QAction>
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
    Form1& loading = module.form1();
    loading.show();
    if (!QTest::qWaitFor([&] { return !loading.Timer1.isActive(); }, 10000))
        qFatal("the start-up tick never ran");
}

QString TestProgram::stored(QString SettingsRecord::*field) const
{
    return folder.storedRows().value(0).*field;
}

QString TestProgram::mods(const QString& file) const
{
    return folder.game() + QStringLiteral("/mods/") + file;
}

void TestProgram::whenChooserShows(std::function<void(Form4&)> action)
{
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [this, poll, action] {
        if (!module.form4Holder().exists() || !module.form4().isVisible())
            return;
        poll->stop();
        poll->deleteLater();
        action(module.form4());
    });
    poll->start(10);
}

void TestProgram::withChooserOpen(const std::function<void()>& action)
{
    QTimer::singleShot(50, [this, action] {
        QVERIFY(chooser().isVisible());
        action();
        if (module.form3Holder().exists() && chooser().isVisible())
            chooser().hide();
    });
    main().mcrform->trigger();
}

void TestProgram::pick(ImageCombo& list, int position)
{
    list.setFocus();
    for (int step = list.selectedPosition(); step < position; ++step)
        QTest::keyClick(&list, Qt::Key_Down);
    QCOMPARE(list.selectedPosition(), position);
}

void TestProgram::pickCrosshair(int position)
{
    withChooserOpen([this, position] { pick(*chooser().ImageCombo1, position); });
}
