#include "core/settings/SettingsStore.h"
#include "support/Checks.h"
#include "support/TestFolder.h"

#include <QTest>
#include <QThread>

#include <thread>

using namespace Qt::StringLiterals;

const SettingsRecord sample(u"Grimtide"_s, u"yes"_s, u"no"_s, u"7"_s, u"3"_s, u"No"_s,
                            u"/games/Battlefield 1942"_s);

class TestSettingsStore : public QObject {
    Q_OBJECT
private slots:
    void loadReadsTheFirstRowAsStoredAndFlagsOnlyNulls()
    {
        TestFolder folder;
        // An empty text is a value, not a gap.
        folder.writeSettings({{.status = u"pure"_s, .path = QString()}, folder.gameRow()});
        const auto load = [&] { return SettingsStore(folder.databaseFile()).load(); };
        QVERIFY(!load().hadEmptyField);
        Checks::exec(folder.databaseFile(), "UPDATE Options SET rtr = NULL, cr = 7, rt = 2.5");
        const SettingsStore::Loaded loaded = load();
        QVERIFY(loaded.hadEmptyField);
        QCOMPARE(loaded.record,
                 SettingsRecord(u"pure"_s, {}, u"no"_s, u"7"_s, u"2.5"_s, u"No"_s, {}));
        Checks::exec(folder.databaseFile(), "UPDATE Options SET secure = x'00ff'");
        QCOMPARE(Checks::failureOf([&] { load(); }), FailureNumber::TypeMismatch);
        Checks::exec(folder.databaseFile(), "DELETE FROM Options");
        QCOMPARE(Checks::failureOf([&] { load(); }), FailureNumber::NoCurrentRecord);
    }

    void saveLeavesExactlyTheNewRowOrTheOldTable()
    {
        TestFolder folder;
        folder.writeSettings({folder.gameRow(), folder.gameRow(), folder.gameRow()});
        SettingsStore store(folder.databaseFile());
        const SettingsRecord unusual(u"Grimtide"_s, {}, u"no"_s, QString(2000, u'9'), u"3"_s,
                                     u"No"_s, u"C:\\Spiele\\\"Battlefield\" 1942 – Ünïcode 'x'"_s);
        store.save(unusual);
        QCOMPARE(folder.storedRows(), QList<SettingsRecord>{unusual});
        // The old row can't be deleted, then sw is missing: each save fails and changes nothing.
        Checks::exec(folder.databaseFile(), "CREATE TRIGGER keep BEFORE DELETE ON Options "
                                            "BEGIN SELECT RAISE(ABORT, 'kept'); END");
        QVERIFY(Checks::failureOf([&] { store.save(sample); }) != 0);
        QCOMPARE(folder.storedRows(), QList<SettingsRecord>{unusual});
        Checks::exec(folder.databaseFile(), "ALTER TABLE Options DROP sw"); // the save let go of it
        const QByteArray before = Checks::bytesOf(folder.databaseFile());
        QCOMPARE(Checks::failureOf([&] { store.save(sample); }), FailureNumber::FieldMissing);
        QCOMPARE(Checks::bytesOf(folder.databaseFile()), before);
    }

    // A lock held for less than the busy timeout only makes the save wait.
    void aLockWaitsThenFailsWith3218()
    {
        TestFolder folder;
        const QList<SettingsRecord> before = folder.storedRows();
        SettingsStore store(folder.databaseFile());
        std::optional<Checks::SettingsLock> other(folder.databaseFile());
        QCOMPARE(Checks::failureOf([&] { store.save(sample); }), FailureNumber::DatabaseLocked);
        other.reset();
        QCOMPARE(folder.storedRows(), before);
        other.emplace(folder.databaseFile());
        std::thread release([&other] {
            QThread::msleep(300);
            other.reset();
        });
        store.save(sample);
        release.join();
        QCOMPARE(folder.storedRows(), QList<SettingsRecord>{sample});
    }
};

QTEST_GUILESS_MAIN(TestSettingsStore)
#include "test_settingsstore.moc"
