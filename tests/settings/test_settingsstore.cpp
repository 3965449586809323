#include "app/Failure.h"
#include "settings/SettingsStore.h"
#include "support/TestFolder.h"

#include <QFile>
#include <QTest>
#include <QThread>

#include <sqlite3.h>

namespace {

int failureOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const Failure& failure) {
        return failure.number();
    }
    return 0;
}

QByteArray bytesOf(const QString& path)
{
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

void execOn(const QString& database, const char* sql)
{
    sqlite3* db = nullptr;
    sqlite3_open(database.toUtf8().constData(), &db);
    sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

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
        execOn(folder.databaseFile(), "UPDATE Options SET cr = 7, rt = 2.5");
        QCOMPARE(SettingsStore(folder.databaseFile()).load().record.cr, QStringLiteral("7"));
        QCOMPARE(SettingsStore(folder.databaseFile()).load().record.rt, QStringLiteral("2.5"));
        execOn(folder.databaseFile(), "UPDATE Options SET secure = x'00ff'");
        SettingsStore store(folder.databaseFile());
        QCOMPARE(failureOf([&] { store.load(); }), FailureNumber::TypeMismatch);
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
        execOn(folder.databaseFile(), sql.constData());
        const QByteArray before = bytesOf(folder.databaseFile());
        {
            SettingsStore store(folder.databaseFile());
            QCOMPARE(failureOf([&] { store.load(); }), number);
        }
        QCOMPARE(bytesOf(folder.databaseFile()), before);
    }

    void missingOrForeignFilesAreNeverCreatedOrWritten()
    {
        TestFolder folder;
        QFile::remove(folder.databaseFile());
        {
            SettingsStore store(folder.databaseFile());
            QCOMPARE(store.openFailure(), FailureNumber::DatabaseMissing);
            QCOMPARE(failureOf([&] { store.save(sample); }), FailureNumber::DatabaseMissing);
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
            QCOMPARE(failureOf([&] { store.save(sample); }), FailureNumber::NotADatabase);
        }
        QCOMPARE(bytesOf(folder.databaseFile()), notADatabase);
    }

    void damagedDatabaseIsCaughtAtOpen()
    {
        TestFolder folder;
        folder.writeSettings(folder.gameRow());
        QByteArray bytes = bytesOf(folder.databaseFile());
        QVERIFY(bytes.size() >= 8192);
        // Scribble over the table's page (the second page of the file).
        for (int i = 4096 + 8; i < 4096 + 200; ++i)
            bytes[i] = char(0xA5);
        QFile f(folder.databaseFile());
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        f.close();
        SettingsStore store(folder.databaseFile());
        QCOMPARE(store.openFailure(), FailureNumber::NotADatabase);
        QCOMPARE(bytesOf(folder.databaseFile()), bytes);
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

        execOn(folder.databaseFile(), "DELETE FROM Options");
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
        execOn(folder.databaseFile(), "CREATE TRIGGER keep BEFORE DELETE ON Options "
                                      "BEGIN SELECT RAISE(ABORT, 'kept'); END");
        const QList<SettingsRecord> before = folder.storedRows();
        SettingsStore store(folder.databaseFile());
        QVERIFY(failureOf([&] { store.save(sample); }) != 0);
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
        QCOMPARE(failureOf([&] { store.save(sample); }), FailureNumber::DatabaseLocked);
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
