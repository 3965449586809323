#include "core/common/Failure.h"
#include "core/settings/SettingsStore.h"
#include "support/Checks.h"
#include "support/TestFolder.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <QThread>

#include <sqlite3.h>

namespace {

const SettingsRecord sample{QStringLiteral("Grimtide"), QStringLiteral("yes"),
                            QStringLiteral("no"),       QStringLiteral("7"),
                            QStringLiteral("3"),        QStringLiteral("No"),
                            QStringLiteral("/games/Battlefield 1942")};

} // namespace

class TestSettingsStore : public QObject {
    Q_OBJECT
private slots:
    void deliveredFileAsksForThePath()
    {
        TestFolder folder;
        SettingsStore store(folder.databaseFile());
        const auto loaded = store.load();
        QVERIFY(loaded.hadEmptyField);
        const SettingsRecord expected{QStringLiteral("Pure"), QStringLiteral("no"),
                                      QStringLiteral("no"),   QStringLiteral("1"),
                                      QStringLiteral("1"),    QStringLiteral("No"),
                                      QString()};
        QCOMPARE(loaded.record, expected);
    }

    void loadReadsTheFirstRowAsStored()
    {
        TestFolder folder;
        TestFolder::Row first;
        first.status = QStringLiteral("pure");
        first.rtr = QStringLiteral("No");
        first.path = QString();
        TestFolder::Row second = folder.gameRow();
        folder.writeSettings({first, second});
        const auto loaded = SettingsStore(folder.databaseFile()).load();
        QVERIFY(!loaded.hadEmptyField); // the empty text is a value
        QCOMPARE(loaded.record.status, QStringLiteral("pure"));
        QCOMPARE(loaded.record.rtr, QStringLiteral("No"));
        QCOMPARE(loaded.record.path, QString());
    }

    void aNullFieldCostsNoOtherField()
    {
        TestFolder folder;
        TestFolder::Row row = folder.gameRow();
        row.rtr.reset();
        folder.writeSettings(row);
        const auto loaded = SettingsStore(folder.databaseFile()).load();
        QVERIFY(loaded.hadEmptyField);
        QCOMPARE(loaded.record.rtr, QString());
        QCOMPARE(loaded.record.sw, QStringLiteral("no"));
        QCOMPARE(loaded.record.secure, QStringLiteral("No"));
        QCOMPARE(loaded.record.path, *row.path);
    }

    void numbersReadAsTextAndBlobsFail()
    {
        TestFolder folder;
        folder.writeSettings(folder.gameRow());
        Checks::exec(folder.databaseFile(), "UPDATE Options SET cr = 7, rt = 2.5");
        QCOMPARE(SettingsStore(folder.databaseFile()).load().record.cr, QStringLiteral("7"));
        QCOMPARE(SettingsStore(folder.databaseFile()).load().record.rt, QStringLiteral("2.5"));
        Checks::exec(folder.databaseFile(), "UPDATE Options SET secure = x'00ff'");
        SettingsStore store(folder.databaseFile());
        QCOMPARE(Checks::failureOf([&] { store.load(); }), FailureNumber::TypeMismatch);
    }

    void unreadableFilesFailWithTheirNumberAndStayAsTheyWere_data()
    {
        QTest::addColumn<QByteArray>("sql");
        QTest::addColumn<int>("number");
        QTest::newRow("no row") << QByteArray("DELETE FROM Options") << FailureNumber::NoCurrentRecord;
        QTest::newRow("no table") << QByteArray("DROP TABLE Options") << FailureNumber::TableMissing;
        QTest::newRow("no path column")
            << QByteArray("ALTER TABLE Options DROP COLUMN path") << FailureNumber::FieldMissing;
    }

    void unreadableFilesFailWithTheirNumberAndStayAsTheyWere()
    {
        QFETCH(QByteArray, sql);
        QFETCH(int, number);
        TestFolder folder;
        Checks::exec(folder.databaseFile(), sql.constData());
        const QByteArray before = Checks::bytesOf(folder.databaseFile());
        {
            SettingsStore store(folder.databaseFile());
            QCOMPARE(Checks::failureOf([&] { store.load(); }), number);
        }
        QCOMPARE(Checks::bytesOf(folder.databaseFile()), before);
    }

    void missingOrForeignFilesAreNeverCreatedOrWritten()
    {
        TestFolder folder;
        QFile::remove(folder.databaseFile());
        {
            SettingsStore store(folder.databaseFile());
            QCOMPARE(store.openFailure(), FailureNumber::DatabaseMissing);
            QCOMPARE(Checks::failureOf([&] { store.save(sample); }), FailureNumber::DatabaseMissing);
        }
        QVERIFY(!QFile::exists(folder.databaseFile()));

        const QByteArray notADatabase("This is a text file, not the settings.\n");
        QFile text(folder.databaseFile());
        QVERIFY(text.open(QIODevice::WriteOnly));
        text.write(notADatabase);
        text.close();
        {
            SettingsStore store(folder.databaseFile());
            QCOMPARE(store.openFailure(), FailureNumber::NotADatabase);
            QCOMPARE(Checks::failureOf([&] { store.save(sample); }), FailureNumber::NotADatabase);
        }
        QCOMPARE(Checks::bytesOf(folder.databaseFile()), notADatabase);
    }

    void aLinkedFileIsUsedWhereItLiesAndNeverCreatedThroughTheLink()
    {
        TestFolder folder;
        const QString elsewhere = folder.file(QStringLiteral("kept/gtdb.inf"));
        QDir().mkpath(folder.file(QStringLiteral("kept")));
        QFile::rename(folder.databaseFile(), elsewhere);
        QFile::link(elsewhere, folder.databaseFile());
        SettingsStore(folder.databaseFile()).save(sample);
        QVERIFY(QFileInfo(folder.databaseFile()).isSymLink());
        QCOMPARE(SettingsStore(elsewhere).load().record, sample);

        QFile::remove(elsewhere);
        QCOMPARE(SettingsStore(folder.databaseFile()).openFailure(), FailureNumber::DatabaseMissing);
        QVERIFY(!QFileInfo::exists(elsewhere));
    }

    void saveLeavesExactlyTheNewRow()
    {
        TestFolder folder;
        TestFolder::Row row = folder.gameRow();
        folder.writeSettings({row, row, row});
        SettingsStore store(folder.databaseFile());
        store.save(sample);
        QCOMPARE(folder.storedRows(), QList<SettingsRecord>{sample});
        QCOMPARE(store.savedRowCount(), QStringLiteral("1"));

        Checks::exec(folder.databaseFile(), "DELETE FROM Options");
        SettingsRecord unusual = sample;
        unusual.path = QStringLiteral("C:\\Spiele\\\"Battlefield\" 1942 – Ünïcode 'x'");
        unusual.cr = QString(2000, QLatin1Char('9'));
        unusual.rtr = QString();
        store.save(unusual);
        QCOMPARE(folder.storedRows(), QList<SettingsRecord>{unusual});
    }

    void aFailedSaveLeavesTheTableAsItWas()
    {
        TestFolder folder;
        TestFolder::Row first = folder.gameRow();
        TestFolder::Row second = folder.gameRow();
        second.status = QStringLiteral("Grimtide");
        folder.writeSettings({first, second});
        // The old rows can't be deleted: the save fails inside its loop.
        Checks::exec(folder.databaseFile(), "CREATE TRIGGER keep BEFORE DELETE ON Options "
                                      "BEGIN SELECT RAISE(ABORT, 'kept'); END");
        const QList<SettingsRecord> before = folder.storedRows();
        SettingsStore store(folder.databaseFile());
        QVERIFY(Checks::failureOf([&] { store.save(sample); }) != 0);
        QCOMPARE(folder.storedRows(), before);
        QCOMPARE(store.load().record.status, QStringLiteral("Pure"));
    }

    void aLockWaitsThenFailsWith3218()
    {
        TestFolder folder;
        folder.writeSettings(folder.gameRow());
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
        QThread* release = QThread::create([other] {
            QThread::msleep(300);
            sqlite3_exec(other, "COMMIT", nullptr, nullptr, nullptr);
        });
        release->start();
        store.save(sample);
        release->wait();
        delete release;
        sqlite3_close(other);
        QCOMPARE(folder.storedRows(), QList<SettingsRecord>{sample});
    }
};

QTEST_GUILESS_MAIN(TestSettingsStore)
#include "test_settingsstore.moc"
