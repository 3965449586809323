#include "core/platform/SafeFileCopier.h"
#include "core/settings/SettingsStore.h"
#include "support/Checks.h"
#include "support/KilledChild.h"
#include "support/TestFolder.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTest>

namespace {

constexpr int kills = 240;

// A kill lands anywhere from before the child's first call to several calls in.
std::chrono::microseconds randomDelay()
{
    return std::chrono::microseconds(QRandomGenerator::global()->bounded(20000));
}

SettingsRecord numbered(int n)
{
    return {QStringLiteral("Grimtide"), QStringLiteral("yes"), QStringLiteral("no"),
            QString::number(n % 20 + 1), QStringLiteral("2"), QStringLiteral("No"),
            QStringLiteral("/games/save ") + QString::number(n)};
}

} // namespace

class TestCrashes : public QObject {
    Q_OBJECT
private slots:
    void aKilledSaveLeavesTheLastSaveOrTheOneUnderWay()
    {
        TestFolder folder;
        const QString db = folder.databaseFile();
        SettingsStore(db).save(numbered(0));
        int stored = 0;
        int cutShort = 0;
        int keptUnderWay = 0;
        for (int kill = 0; kill < kills; ++kill) {
            const auto outcome = KilledChild::run(
                [&](const KilledChild::Report& report) {
                    SettingsStore store(db);
                    for (int n = stored + 1;; ++n) {
                        store.save(numbered(n));
                        report(n);
                    }
                },
                randomDelay());
            QVERIFY(outcome.killed);
            const int returned = outcome.finished.isEmpty() ? stored : outcome.finished.last();
            cutShort += QFile::exists(db + QStringLiteral("-journal"));
            const SettingsRecord loaded = SettingsStore(db).load().record;
            QVERIFY(Checks::integrityOk(db));
            QCOMPARE(folder.storedRows().size(), 1);
            QVERIFY2(loaded == numbered(returned) || loaded == numbered(returned + 1),
                     qPrintable(loaded.path));
            stored = loaded == numbered(returned) ? returned : returned + 1;
            keptUnderWay += stored != returned;
        }
        qInfo("%d saves killed, 0 bad; %d left an interrupted save behind, %d kept the save "
              "under way; %d saves made in all", kills, cutShort, keptUnderWay, stored);
    }

    void aKilledInstallLeavesTheOldOrTheNewFile()
    {
        TestFolder folder;
        const QList<QByteArray> archives{QByteArray(3 << 19, 'a'), QByteArray(700 << 10, 'b')};
        const QStringList sources{QStringLiteral("cons/cr/1/menu.rfa"),
                                  QStringLiteral("cons/cr/2/menu.rfa")};
        for (int i = 0; i < 2; ++i)
            Checks::writeBytes(folder.file(sources[i]), archives[i]);
        const QString archivesFolder = folder.game() + QStringLiteral("/mods/gtide_base/archives");
        const QString target = archivesFolder + QStringLiteral("/menu.rfa");
        const QByteArray old("old archive");
        Checks::writeBytes(target, old);
        int leftTemporary = 0;
        for (int kill = 0; kill < kills; ++kill) {
            const auto outcome = KilledChild::run(
                [&](const KilledChild::Report& report) {
                    for (int n = 0;; ++n) {
                        SafeFileCopier().copy(sources[n % 2], target);
                        report(n);
                    }
                },
                randomDelay());
            QVERIFY(outcome.killed);
            const QByteArray now = Checks::bytesOf(target);
            QVERIFY(now == old || archives.contains(now));
            leftTemporary += !Checks::copierTemporariesIn(archivesFolder).isEmpty();
            SafeFileCopier().copy(sources[kill % 2], target);
            QCOMPARE(Checks::copierTemporariesIn(archivesFolder), QStringList());
            QCOMPARE(Checks::bytesOf(target), archives[kill % 2]);
        }
        qInfo("%d installs killed, 0 bad; %d left a temporary file, each removed by the next "
              "install", kills, leftTemporary);
    }
};

QTEST_GUILESS_MAIN(TestCrashes)
#include "test_crashes.moc"
