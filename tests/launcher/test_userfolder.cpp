#include "launcher/UserFolder.h"

#include <QDirIterator>
#include <QTemporaryDir>
#include <QTest>

#include <stdexcept>

using Files = QMap<QString, QByteArray>; // relative path -> content

namespace {

const Files delivered{{QStringLiteral("gtdb.inf"), "delivered settings"},
                      {QStringLiteral("cons/purebf.con"), "pure"},
                      {QStringLiteral("cons/cr/1/menu.rfa"), "placeholder"}};

void writeFiles(const QDir& folder, const Files& files)
{
    for (auto file = files.begin(); file != files.end(); ++file) {
        QDir().mkpath(QFileInfo(folder.filePath(file.key())).absolutePath());
        QFile out(folder.filePath(file.key()));
        QVERIFY(out.open(QIODevice::WriteOnly) && out.write(file.value()) == file.value().size());
    }
}

Files readFiles(const QDir& folder)
{
    Files files;
    for (QDirIterator it(folder.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories); it.hasNext();) {
        QFile in(it.next());
        if (in.open(QIODevice::ReadOnly))
            files.insert(folder.relativeFilePath(in.fileName()), in.readAll());
    }
    return files;
}

} // namespace

class TestUserFolder : public QObject {
    Q_OBJECT
private slots:
    void prepareLaysDownOnlyWhatIsMissing_data()
    {
        QTest::addColumn<Files>("before");
        QTest::addColumn<Files>("after");
        QTest::newRow("first use") << Files{} << delivered;
        Files played = delivered;
        played[QStringLiteral("gtdb.inf")] = "the player's settings";
        played[QStringLiteral("cons/cr/1/menu.rfa")] = "the real mod's archive";
        QTest::newRow("everything there") << played << played;
        Files deleted = played;
        deleted.remove(QStringLiteral("cons/purebf.con"));
        QTest::newRow("a deleted file") << deleted << played;
        QTest::newRow("an interrupted copy") << Files{{QStringLiteral(".grimtide-switch-killed.part"), "half"}}
                                             << delivered;
    }

    void prepareLaysDownOnlyWhatIsMissing()
    {
        QFETCH(Files, before);
        QFETCH(Files, after);
        QTemporaryDir temp;
        const QDir installed(temp.filePath(QStringLiteral("share"))), own(temp.filePath(QStringLiteral("data")));
        writeFiles(installed, delivered);
        writeFiles(own, before);
        UserFolder(own.path(), installed.path()).prepare();
        QCOMPARE(readFiles(own), after);
        QVERIFY(QFileInfo(own.filePath(QStringLiteral("gtdb.inf"))).isWritable());
        // Without delivered settings it fails and lays down nothing.
        QVERIFY(QFile::remove(installed.filePath(QStringLiteral("gtdb.inf"))));
        const QString other = temp.filePath(QStringLiteral("other"));
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, UserFolder(other, installed.path()).prepare());
        QVERIFY(!QFileInfo::exists(other));
    }

    void theDefaultLocationFollowsTheDataHome()
    {
        qputenv("XDG_DATA_HOME", "/data/home");
        QCOMPARE(UserFolder::defaultLocation(), QStringLiteral("/data/home/grimtide-switch"));
    }
};

QTEST_MAIN(TestUserFolder)
#include "test_userfolder.moc"
