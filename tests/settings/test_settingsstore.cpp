#include "core/common/Failure.h"
#include "core/settings/SettingsStore.h"
#include "support/Checks.h"
#include "support/TestFolder.h"

#include <QTest>
#include <QThread>

#include <sqlite3.h>

namespace {

const SettingsRecord sample{QStringLiteral("Grimtide"),
                            QStringLiteral("yes"),
                            QStringLiteral("no"),
                            QStringLiteral("7"),
                            QStringLiteral("3"),
                            QStringLiteral("No"),
                            QStringLiteral("/games/Battlefield 1942")};

} // namespace

class TestSettingsStore : public QObject {
    Q_OBJECT
private slots:
    void loadReadsTheFirstRowAsStoredAndFlagsOnlyNulls() {
        TestFolder folder;
        SettingsStore::Loaded loaded = SettingsStore(folder.databaseFile()).load();
        QVERIFY(loaded.hadEmptyField); // the delivered file asks for the path
        QCOMPARE(loaded.record, (SettingsRecord{QStringLiteral("Pure"),
                                                QStringLiteral("no"),
                                                QStringLiteral("no"),
                                                QStringLiteral("1"),
                                                QStringLiteral("1"),
                                                QStringLiteral("No"),
                                                {}}));
        TestFolder::Row first;
        first.status = QStringLiteral("pure");
        first.path = QString();
        folder.writeSettings({first, folder.gameRow()});
        const auto load = [&] { return SettingsStore(folder.databaseFile()).load(); };
        loaded = load();
        QVERIFY(!loaded.hadEmptyField); // the empty text is a value
        QCOMPARE(loaded.record.status, QStringLiteral("pure"));
        QCOMPARE(loaded.record.path, QString());

        Checks::exec(folder.databaseFile(), "UPDATE Options SET rtr = NULL, cr = 7, rt = 2.5");
        loaded = load();
        QVERIFY(loaded.hadEmptyField);
        QCOMPARE(loaded.record, (SettingsRecord{QStringLiteral("pure"),
                                                {},
                                                QStringLiteral("no"),
                                                QStringLiteral("7"),
                                                QStringLiteral("2.5"),
                                                QStringLiteral("No"),
                                                QString()}));
        Checks::exec(folder.databaseFile(), "UPDATE Options SET secure = x'00ff'");
        QCOMPARE(Checks::failureOf([&] { load(); }), FailureNumber::TypeMismatch);
    }

    void unreadableFilesFailWithTheirNumberAndStayAsTheyWere_data() {
        QTest::addColumn<QByteArray>("sql");
        QTest::addColumn<int>("number");
        QTest::newRow("no row") << QByteArray("DELETE FROM Options")
                                << FailureNumber::NoCurrentRecord;
        QTest::newRow("no table") << QByteArray("DROP TABLE Options")
                                  << FailureNumber::TableMissing;
        QTest::newRow("no path column")
            << QByteArray("ALTER TABLE Options DROP COLUMN path") << FailureNumber::FieldMissing;
    }

    void unreadableFilesFailWithTheirNumberAndStayAsTheyWere() {
        QFETCH(QByteArray, sql);
        QFETCH(int, number);
        TestFolder folder;
        Checks::exec(folder.databaseFile(), sql.constData());
        const QByteArray before = Checks::bytesOf(folder.databaseFile());
        QCOMPARE(Checks::failureOf([&] { SettingsStore(folder.databaseFile()).load(); }), number);
        QCOMPARE(Checks::bytesOf(folder.databaseFile()), before);
    }

    void missingOrForeignFilesAreNeverCreatedOrWritten() {
        TestFolder folder;
        QFile::remove(folder.databaseFile());
        const QByteArray notADatabase("This is a text file, not the settings.\n");
        for (int number : {FailureNumber::DatabaseMissing, FailureNumber::NotADatabase}) {
            {
                SettingsStore store(folder.databaseFile());
                QCOMPARE(store.openFailure(), number);
                QCOMPARE(Checks::failureOf([&] { store.save(sample); }), number);
            }
            QCOMPARE(Checks::bytesOf(folder.databaseFile()),
                     number == FailureNumber::NotADatabase ? notADatabase : "");
            QCOMPARE(QFile::exists(folder.databaseFile()), number == FailureNumber::NotADatabase);
            Checks::writeBytes(folder.databaseFile(), notADatabase);
        }
    }

    void aLinkedFileIsUsedWhereItLiesAndNeverCreatedThroughTheLink() {
        TestFolder folder;
        const QString elsewhere = folder.file(QStringLiteral("kept/gtdb.inf"));
        QDir().mkpath(folder.file(QStringLiteral("kept")));
        QFile::rename(folder.databaseFile(), elsewhere);
        QFile::link(elsewhere, folder.databaseFile());
        SettingsStore(folder.databaseFile()).save(sample);
        QVERIFY(QFileInfo(folder.databaseFile()).isSymLink());
        QCOMPARE(SettingsStore(elsewhere).load().record, sample);
        QFile::remove(elsewhere);
        QCOMPARE(SettingsStore(folder.databaseFile()).openFailure(),
                 FailureNumber::DatabaseMissing);
        QVERIFY(!QFileInfo::exists(elsewhere));
    }

    void saveLeavesExactlyTheNewRowOrTheOldTable() {
        TestFolder folder;
        TestFolder::Row row = folder.gameRow();
        folder.writeSettings({row, row, row});
        SettingsStore store(folder.databaseFile());
        store.save(sample);
        QCOMPARE(folder.storedRows(), QList<SettingsRecord>{sample});
        QCOMPARE(store.savedRowCount(), QStringLiteral("1"));
        SettingsRecord unusual = sample;
        unusual.path = QStringLiteral("C:\\Spiele\\\"Battlefield\" 1942 – Ünïcode 'x'");
        unusual.cr = QString(2000, QLatin1Char('9'));
        unusual.rtr = QString();
        store.save(unusual);
        QCOMPARE(folder.storedRows(), QList<SettingsRecord>{unusual});

        // The old row can't be deleted: the save fails inside its loop.
        Checks::exec(folder.databaseFile(), "CREATE TRIGGER keep BEFORE DELETE ON Options "
                                            "BEGIN SELECT RAISE(ABORT, 'kept'); END");
        QVERIFY(Checks::failureOf([&] { store.save(sample); }) != 0);
        QCOMPARE(folder.storedRows(), QList<SettingsRecord>{unusual});
        QCOMPARE(store.load().record, unusual);
    }

    void aLockWaitsThenFailsWith3218() {
        TestFolder folder;
        const QList<SettingsRecord> before = folder.storedRows();
        SettingsStore store(folder.databaseFile());
        sqlite3* other = nullptr;
        sqlite3_open(folder.databaseFile().toUtf8().constData(), &other);
        sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr);
        QCOMPARE(Checks::failureOf([&] { store.save(sample); }), FailureNumber::DatabaseLocked);
        sqlite3_exec(other, "COMMIT", nullptr, nullptr, nullptr);
        QCOMPARE(folder.storedRows(), before);
        // A lock held for less than the busy timeout only makes the save wait.
        sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr);
        std::unique_ptr<QThread> release(QThread::create([other] {
            QThread::msleep(300);
            sqlite3_exec(other, "COMMIT", nullptr, nullptr, nullptr);
        }));
        release->start();
        store.save(sample);
        release->wait();
        sqlite3_close(other);
        QCOMPARE(folder.storedRows(), QList<SettingsRecord>{sample});
    }
};

QTEST_GUILESS_MAIN(TestSettingsStore)
#include "test_settingsstore.moc"
