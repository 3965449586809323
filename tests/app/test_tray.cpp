#include "gui/app/Form2.h"
#include "core/app/TrayIconRecord.h"
#include "support/TestFolder.h"
#include "support/TestProgram.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

namespace {

QStringList shownItems(const QMenu& menu)
{
    QStringList items;
    for (const QAction* action : menu.actions()) {
        if (action->isVisible())
            items.append(action->isSeparator() ? QStringLiteral("-") : action->text());
    }
    return items;
}

} // namespace

class TestTray : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        folder = std::make_unique<TestFolder>();
        folder->writeSettings(folder->gameRow());
        program = std::make_unique<TestProgram>(*folder);
        program->start();
    }

    void cleanup()
    {
        program.reset();
        folder.reset();
    }

    void rightClickPopsUpTheMenuOfTheOtherMode()
    {
        QStringList seen;
        QTimer::singleShot(100, this, [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            QVERIFY(menu);
            seen = shownItems(*menu);
            menu->close();
        });
        program->tray.send(TrayIconRecord::rightButtonUp);
        QCOMPARE(seen, (QStringList{QStringLiteral("&grimtide"), QStringLiteral("-"),
                                    QStringLiteral("&exit")}));
    }

    void trayItemSwitchesAndSetsTheTip()
    {
        Form2& main = program->main();
        main.mpopunpure->trigger();
        QCOMPARE(program->module.state.settings.status, QStringLiteral("Grimtide"));
        QCOMPARE(program->tray.tip, QStringLiteral("Unpure"));
        QCOMPARE(program->tray.operations.last(), QStringLiteral("modify"));
        QCOMPARE(folder->storedRows().value(0).status, QStringLiteral("Grimtide"));
        // The option buttons switch back but leave the tip alone.
        main.Option1->click();
        QCOMPARE(program->module.state.settings.status, QStringLiteral("Pure"));
        QCOMPARE(program->tray.tip, QStringLiteral("Unpure"));
        // Reached in pure mode anyway, "&pure" says so and still sets the tip.
        main.mpoppure->trigger();
        QCOMPARE(program->sink.last(), QStringLiteral("you are already in pure mode"));
        QCOMPARE(program->tray.tip, QStringLiteral("Pure"));
    }

    void minimizeHidesAndAClickBringsTheWindowBack()
    {
        Form2& main = program->main();
        main.showMinimized();
        QTRY_VERIFY(!main.isVisible());
        for (int ignored : {512, 513, 516, 0})
            program->tray.send(ignored);
        QVERIFY(!main.isVisible());
        program->tray.send(TrayIconRecord::leftDoubleClick);
        QVERIFY(main.isVisible());
        QVERIFY(!main.isMinimized());
        main.showMinimized();
        QTRY_VERIFY(!main.isVisible());
        program->tray.send(TrayIconRecord::leftButtonUp);
        QVERIFY(main.isVisible());
        // A second copy started in the folder brings it back too.
        main.showMinimized();
        QTRY_VERIFY(!main.isVisible());
        program->module.bringForward();
        QVERIFY(main.isVisible());
        QVERIFY(!main.isMinimized());
    }

    void aTrayThatComesLateGetsTheIconOfTheModeThen()
    {
        program = std::make_unique<TestProgram>(*folder);
        program->tray.isAvailable = false;
        program->start();
        Form2& main = program->main();
        QVERIFY(!program->tray.exists());
        main.showMinimized();
        QCoreApplication::processEvents();
        QVERIFY(main.isVisible()); // no icon to come back by: a plain minimize
        main.showNormal();
        main.Option2->click();
        program->tray.appear();
        QVERIFY(program->tray.exists());
        QCOMPARE(program->tray.tip, QStringLiteral("unpure"));
        main.showMinimized();
        QTRY_VERIFY(!main.isVisible());
    }

    void exitSavesRemovesTheIconAndEnds()
    {
        program->module.state.settings.rt = QStringLiteral("3");
        program->main().mpopexit->trigger();
        QCOMPARE(program->ends, 1);
        QCOMPARE(program->tray.operations.last(), QStringLiteral("delete"));
        QCOMPARE(folder->storedRows(), QList<SettingsRecord>{program->module.state.settings});
    }

private:
    std::unique_ptr<TestFolder> folder;
    std::unique_ptr<TestProgram> program;
};

QTEST_MAIN(TestTray)
#include "test_tray.moc"
