#include "launcher/UserFolder.h"
#include "support/Checks.h"

#include <QTemporaryDir>
#include <QTest>

#include <stdexcept>

using namespace Qt::StringLiterals;
using Files = QMap<QString, QByteArray>; // relative path -> content

class TestUserFolder : public QObject {
    Q_OBJECT
private slots:
    void prepareLaysDownOnlyWhatIsMissing()
    {
        const Files delivered{{u"gtdb.inf"_s, "delivered settings"},
                              {u"cons/cr/1/menu.rfa"_s, "placeholder"}};
        QTemporaryDir temp;
        const auto write = [](const QDir& folder, const Files& files) {
            for (auto file = files.begin(); file != files.end(); ++file)
                Checks::writeBytes(folder.filePath(file.key()), *file);
        };
        write(temp.filePath(u"share"_s), delivered); // as installed
        const auto prepared = [&](const QString& name, const Files& before) {
            const QDir own(temp.filePath(name));
            write(own, before);
            UserFolder(own.path(), temp.filePath(u"share"_s)).prepare();
            return Checks::filesIn(own.path());
        };
        const Files played{{u"gtdb.inf"_s, "the player's settings"}}; // and the archive deleted
        QCOMPARE(prepared(u"played"_s, played), (Files{{u"gtdb.inf"_s, "the player's settings"},
                                                       {u"cons/cr/1/menu.rfa"_s, "placeholder"}}));
        QCOMPARE(prepared(u"first"_s, {{u".grimtide-switch-killed.part"_s, "an interrupted copy"}}),
                 delivered);
        // Without delivered settings it fails and lays down nothing.
        QVERIFY(QFile::remove(temp.filePath(u"share/gtdb.inf"_s)));
        QVERIFY_THROWS_EXCEPTION(
            std::runtime_error,
            UserFolder(temp.filePath(u"other"_s), temp.filePath(u"share"_s)).prepare());
        QVERIFY(!QFileInfo::exists(temp.filePath(u"other"_s)));
    }
};

QTEST_MAIN(TestUserFolder)
#include "test_userfolder.moc"
