#include "launcher/UserFolder.h"
#include "support/Checks.h"

#include <QTemporaryDir>
#include <QTest>

#include <stdexcept>

using namespace Qt::StringLiterals;
using Files = QMap<QString, QByteArray>; // relative path -> content

Q_DECLARE_METATYPE(Files)

namespace {

const Files delivered{{u"gtdb.inf"_s, "delivered settings"},
                      {u"cons/cr/1/menu.rfa"_s, "placeholder"}};

void write(const QDir& folder, const Files& files)
{
    for (auto file = files.begin(); file != files.end(); ++file)
        Checks::writeBytes(folder.filePath(file.key()), *file);
}

} // namespace

class TestUserFolder : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        temp.emplace();
        write(temp->filePath(u"share"_s), delivered); // as installed, read-only
        for (auto file = delivered.begin(); file != delivered.end(); ++file)
            QFile::setPermissions(temp->filePath(u"share/"_s + file.key()), QFile::ReadOwner);
    }

    void prepareLaysDownOnlyWhatIsMissing_data()
    {
        QTest::addColumn<Files>("before");
        QTest::addColumn<Files>("after");
        QTest::newRow("first start") << Files{} << delivered;
        QTest::newRow("played, the archive deleted")
            << Files{{u"gtdb.inf"_s, "the player's settings"}}
            << Files{{u"gtdb.inf"_s, "the player's settings"},
                     {u"cons/cr/1/menu.rfa"_s, "placeholder"}};
        QTest::newRow("the real archive in place")
            << Files{{u"cons/cr/1/menu.rfa"_s, "the real archive"}}
            << Files{{u"gtdb.inf"_s, "delivered settings"},
                     {u"cons/cr/1/menu.rfa"_s, "the real archive"}};
        QTest::newRow("a file of the player's beside them")
            << Files{{u"cons/notes.txt"_s, "mine"}}
            << Files{{u"cons/notes.txt"_s, "mine"},
                     {u"gtdb.inf"_s, "delivered settings"},
                     {u"cons/cr/1/menu.rfa"_s, "placeholder"}};
    }

    void prepareLaysDownOnlyWhatIsMissing()
    {
        QFETCH(Files, before);
        QFETCH(Files, after);
        const QString own = temp->filePath(u"own"_s);
        write(own, before);
        UserFolder(own, temp->filePath(u"share"_s)).prepare();
        QCOMPARE(Checks::filesIn(own), after);
    }

    // The delivered files are the package's; the copies are the player's to change.
    void theCopiesAreThePlayersToChange()
    {
        const QString own = temp->filePath(u"own"_s);
        UserFolder(own, temp->filePath(u"share"_s)).prepare();
        QVERIFY(QFile::permissions(own + u"/gtdb.inf"_s) & QFile::WriteOwner);
        QVERIFY(QFile::permissions(own + u"/cons/cr/1/menu.rfa"_s) & QFile::WriteOwner);
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
