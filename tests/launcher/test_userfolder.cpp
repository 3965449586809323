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

// The delivered files with the player's over them.
Files withOwn(const Files& own)
{
    Files files = delivered;
    files.insert(own);
    return files;
}

} // namespace

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
        QTest::addColumn<Files>("before");
        QTest::addColumn<Files>("after");
        QTest::newRow("first start") << Files{} << delivered;
        for (const Files& own : {Files{{u"gtdb.inf"_s, "the player's settings"}},
                                 Files{{u"cons/cr/1/menu.rfa"_s, "the real archive"}},
                                 Files{{u"cons/notes.txt"_s, "a file of the player's"}}})
            QTest::newRow(qPrintable(own.firstKey())) << own << withOwn(own);
    }

    // The copies are the player's to change.
    void prepareLaysDownOnlyWhatIsMissing()
    {
        QFETCH(Files, before);
        QFETCH(Files, after);
        const QDir own(temp->filePath(u"own"_s));
        for (auto file = before.begin(); file != before.end(); ++file)
            Checks::writeBytes(own.filePath(file.key()), *file);
        UserFolder(own.path(), temp->filePath(u"share"_s)).prepare();
        QCOMPARE(Checks::filesIn(own.path()), after);
        for (const QString& file : after.keys())
            QVERIFY2(QFile::permissions(own.filePath(file)) & QFile::WriteOwner, qPrintable(file));
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
