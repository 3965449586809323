#include "launcher/UserFolder.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <optional>
#include <stdexcept>

using Files = QMap<QString, QByteArray>; // relative path -> content

namespace {

void writeFiles(const QString& folder, const Files& files)
{
    for (auto file = files.begin(); file != files.end(); ++file) {
        const QString path = QDir(folder).filePath(file.key());
        QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
        QFile out(path);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(file.value());
    }
}

Files readFiles(const QString& folder)
{
    Files files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile in(it.next());
        if (in.open(QIODevice::ReadOnly))
            files.insert(QDir(folder).relativeFilePath(in.fileName()), in.readAll());
    }
    return files;
}

const Files delivered{{QStringLiteral("gtdb.inf"), "delivered settings"},
                      {QStringLiteral("cons/purebf.con"), "pure"},
                      {QStringLiteral("cons/cr/1/menu.rfa"), "placeholder"}};

} // namespace

class TestUserFolder : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        temp.emplace();
        QVERIFY(temp->isValid());
        installed = temp->filePath(QStringLiteral("share/grimtide-switch"));
        own = temp->filePath(QStringLiteral("data/grimtide-switch"));
        writeFiles(installed, delivered);
    }

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
        Files restored = deleted;
        restored.insert(QStringLiteral("cons/purebf.con"), "pure");
        QTest::newRow("a deleted file") << deleted << restored;
        Files interrupted{{QStringLiteral(".grimtide-switch-killed.part"), "half"}};
        QTest::newRow("an interrupted copy") << interrupted << delivered;
    }

    void prepareLaysDownOnlyWhatIsMissing()
    {
        QFETCH(Files, before);
        QFETCH(Files, after);
        writeFiles(own, before);
        UserFolder(own, installed).prepare();
        QCOMPARE(readFiles(own), after);
        QVERIFY(QFileInfo(QDir(own).filePath(QStringLiteral("gtdb.inf"))).isWritable());
    }

    void withoutDeliveredSettingsItFailsAndLaysDownNothing()
    {
        QVERIFY(QFile::remove(QDir(installed).filePath(QStringLiteral("gtdb.inf"))));
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, UserFolder(own, installed).prepare());
        QVERIFY(!QFileInfo::exists(own));
    }

    void theDefaultLocationFollowsTheDataHome()
    {
        qputenv("XDG_DATA_HOME", QFile::encodeName(temp->path()));
        QCOMPARE(UserFolder::defaultLocation(), QDir(temp->path()).filePath(QStringLiteral("grimtide-switch")));
    }

private:
    std::optional<QTemporaryDir> temp; // new for each test
    QString installed;
    QString own;
};

QTEST_MAIN(TestUserFolder)
#include "test_userfolder.moc"
