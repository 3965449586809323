#include "gui/widgets/ClickFromCode.h"
#include "gui/widgets/ModalShow.h"
#include "gui/widgets/ProgramWindow.h"
#include "gui/widgets/WindowHolder.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

namespace {

class CountingWindow : public ProgramWindow {
public:
    int loads = 0;
    int unloads = 0;
    void load() override { ++loads; }

protected:
    void unload() override { ++unloads; }
};

} // namespace

class TestWindowServices : public QObject {
    Q_OBJECT
private slots:
    void checkBoxRunsItsCommandOnlyWhenTheValueChanges()
    {
        QCheckBox box;
        int clicks = 0;
        bool seenTicked = false;
        connect(&box, &QCheckBox::clicked, this, [&] {
            ++clicks;
            seenTicked = box.isChecked();
        });
        ClickFromCode::setChecked(box, true);
        QCOMPARE(clicks, 1);
        QVERIFY(seenTicked); // the command sees the new value
        ClickFromCode::setChecked(box, true);
        QCOMPARE(clicks, 1);
        ClickFromCode::setChecked(box, false);
        QCOMPARE(clicks, 2);
        QVERIFY(!box.isChecked());
    }

    void optionButtonRunsItsCommandWhenTurnedOnOnly()
    {
        QWidget parent;
        auto* pure = new QRadioButton(&parent);
        auto* grimtide = new QRadioButton(&parent);
        QSignalSpy pureClicks(pure, &QRadioButton::clicked);
        QSignalSpy grimtideClicks(grimtide, &QRadioButton::clicked);
        ClickFromCode::turnOn(*pure);
        QCOMPARE(pureClicks.count(), 1);
        ClickFromCode::turnOn(*pure);
        QCOMPARE(pureClicks.count(), 1);
        ClickFromCode::turnOn(*grimtide);
        QVERIFY(!pure->isChecked()); // the group turned it off, running nothing
        QCOMPARE(pureClicks.count(), 1);
        QCOMPARE(grimtideClicks.count(), 1);
        ClickFromCode::turnOff(*grimtide);
        QVERIFY(!grimtide->isChecked());
        QCOMPARE(grimtideClicks.count(), 1);
        ClickFromCode::turnOn(*grimtide); // off again, so on runs the command
        QCOMPARE(grimtideClicks.count(), 2);
    }

    void nestedCommandRunsToItsEndBeforeTheSettingReturns()
    {
        QCheckBox outer;
        QCheckBox inner;
        QStringList order;
        connect(&inner, &QCheckBox::clicked, this, [&] { order.append(QStringLiteral("inner")); });
        connect(&outer, &QCheckBox::clicked, this, [&] {
            ClickFromCode::setChecked(inner, true);
            order.append(QStringLiteral("outer"));
        });
        ClickFromCode::setChecked(outer, true);
        order.append(QStringLiteral("caller"));
        QCOMPARE(order, (QStringList{QStringLiteral("inner"), QStringLiteral("outer"),
                                     QStringLiteral("caller")}));
    }

    void windowIsMadeOnFirstUseAndAnewAfterClose()
    {
        int made = 0;
        WindowHolder<CountingWindow> holder([&] {
            ++made;
            return new CountingWindow;
        });
        QVERIFY(!holder.exists());
        holder.close(); // closing a window that does not exist does nothing
        CountingWindow& first = holder.get();
        QVERIFY(!first.isVisible());
        QCOMPARE(first.loads, 1);
        first.show();
        first.hide();
        QCOMPARE(&holder.get(), &first); // hide keeps the window
        QCOMPARE(first.loads, 1);
        QPointer<CountingWindow> gone(&first);
        holder.close();
        QCOMPARE(gone->unloads, 1);
        CountingWindow& second = holder.get();
        QCOMPARE(made, 2);
        QCOMPARE(second.loads, 1);
        QTRY_VERIFY(gone.isNull());
    }

    void modalShowReturnsWhenHiddenOrDestroyed()
    {
        CountingWindow window;
        QTimer::singleShot(50, &window, [&] {
            QVERIFY(window.isVisible());
            QCOMPARE(QApplication::activeModalWidget(), &window);
            window.hide();
        });
        ModalShow::exec(window);
        QVERIFY(!window.isVisible());

        auto* doomed = new CountingWindow;
        doomed->setAttribute(Qt::WA_DeleteOnClose);
        QPointer<CountingWindow> guard(doomed);
        QTimer::singleShot(50, doomed, [doomed] { doomed->close(); });
        ModalShow::exec(*doomed);
        QCOMPARE(guard->unloads, 1);
        QTRY_VERIFY(guard.isNull());
    }
};

QTEST_MAIN(TestWindowServices)
#include "test_windowservices.moc"
