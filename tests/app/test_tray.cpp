#include "core/app/TrayIconRecord.h"
#include "gui/app/Form2.h"
#include "gui/crosshair/Form3.h"
#include "support/TestFolder.h"
#include "support/TestProgram.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QRadioButton>

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
            for (const QAction* action : menu->actions())
                if (action->isVisible())
                    seen << (action->isSeparator() ? QStringLiteral("-") : action->text());
            menu->close();
        });
        program->tray.send(TrayIconRecord::rightButtonUp);
        QCOMPARE(seen, (QStringList{QStringLiteral("&grimtide"), QStringLiteral("-"), QStringLiteral("&exit")}));
    }

    void trayItemSwitchesAndSetsTheTip()
    {
        Form2& main = program->main();
        main.mpopunpure->trigger();
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

    void minimizeHidesAndAClickOrASecondCopyBringsTheWindowBack()
    {
        Form2& main = program->main();
        const std::function<void()> ways[] = {
            [&] { program->tray.send(TrayIconRecord::leftDoubleClick); },
            [&] { program->tray.send(TrayIconRecord::leftButtonUp); },
            [&] { program->module.bringForward(); }};
        for (const auto& bringBack : ways) {
            main.showMinimized();
            QTRY_VERIFY(!main.isVisible());
            for (int ignored : {512, 513, 516, 0})
                program->tray.send(ignored);
            QVERIFY(!main.isVisible());
            bringBack();
            QVERIFY(main.isVisible());
            QVERIFY(!main.isMinimized());
        }
    }

    void aTrayThatComesLateGetsTheIconOfTheModeThen()
    {
        program = std::make_unique<TestProgram>(*folder);
        program->tray.isAvailable = false;
        program->start();
        Form2& main = program->main();
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

    void closeAndExitSaveEverythingRemoveTheIconAndEnd()
    {
        for (bool exit : {false, true}) {
            init();
            program->module.form3(); // the chooser, open or hidden, goes too
            program->module.state.settings.rt = QStringLiteral("3"); // a pick not saved yet
            exit ? program->main().mpopexit->trigger() : void(program->main().close());
            QCOMPARE(program->ends, 1);
            QCOMPARE(program->tray.operations.last(), QStringLiteral("delete"));
            QCOMPARE(folder->storedRows(), QList<SettingsRecord>{program->module.state.settings});
            QCOMPARE(folder->storedRows().value(0).rt, QStringLiteral("3"));
            QVERIFY(!program->module.form3Holder().exists());
        }
    }

private:
    std::unique_ptr<TestFolder> folder;
    std::unique_ptr<TestProgram> program;
};

QTEST_MAIN(TestTray)
#include "test_tray.moc"
