#include "launcher/UserFolder.h"
#include "support/Checks.h"

#include <QTemporaryDir>
#include <QTest>

#include <stdexcept>

using namespace Qt::StringLiterals;
using Files = QMap<QString, QByteArray>; // relative path -> content

Q_DECLARE_METATYPE(Files)

const Files delivered{{u"gtdb.inf"_s, "delivered settings"},
                      {u"cons/cr/1/menu.rfa"_s, "placeholder"}};

class TestUserFolder : public QObject {
    Q_OBJECT
private slots:
    // As installed, read-only.
    void init()
    {
        temp.emplace();
        for (auto file = delivered.begin(); file != delivered.end(); ++file) {
            Checks::writeBytes(temp->filePath(u"share/"_s + file.key()), *file);
            QFile::setPermissions(temp->filePath(u"share/"_s + file.key()), QFile::ReadOwner);
        }
    }

    void prepareLaysDownOnlyWhatIsMissing_data()
    {
        QTest::addColumn<Files>("own");
        QTest::newRow("first start") << Files{};
        QTest::newRow("settings") << Files{{u"gtdb.inf"_s, "the player's settings"}};
        QTest::newRow("archive") << Files{{u"cons/cr/1/menu.rfa"_s, "the real archive"}};
        QTest::newRow("a file of the player's") << Files{{u"cons/notes.txt"_s, "the player's"}};
    }

    // The delivered files with the player's over them, the player's to change.
    void prepareLaysDownOnlyWhatIsMissing()
    {
        QFETCH(Files, own);
        const QDir folder(temp->filePath(u"own"_s));
        for (auto file = own.begin(); file != own.end(); ++file)
            Checks::writeBytes(folder.filePath(file.key()), *file);
        UserFolder(folder.path(), temp->filePath(u"share"_s)).prepare();
        Files after = delivered;
        after.insert(own);
        QCOMPARE(Checks::filesIn(folder.path()), after);
        for (const QString& file : after.keys())
            QVERIFY2(QFile::permissions(folder.filePath(file)) & QFile::WriteOwner,
                     qPrintable(file));
    }

    void withoutDeliveredSettingsItFailsAndLaysDownNothing()
    {
        QFile::setPermissions(temp->filePath(u"share/gtdb.inf"_s), QFile::WriteOwner);
        QVERIFY(QFile::remove(temp->filePath(u"share/gtdb.inf"_s)));
        QVERIFY_THROWS_EXCEPTION(
            std::runtime_error,
            UserFolder(temp->filePath(u"own"_s), temp->filePath(u"share"_s)).prepare());
        QVERIFY(!QFileInfo::exists(temp->filePath(u"own"_s)));
    }

private:
    std::optional<QTemporaryDir> temp;
};

QTEST_MAIN(TestUserFolder)
#include "test_userfolder.moc"
