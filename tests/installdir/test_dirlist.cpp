#include "core/common/Failure.h"
#include "gui/widgets/DirList.h"

#include <QDir>
#include <QFileSystemModel>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

class TestDirList : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        QVERIFY(temp.isValid());
        game = temp.filePath(QStringLiteral("Battlefield 1942 – Ünïcode"));
        child = game + QStringLiteral("/Mods Ω");
        QVERIFY(QDir().mkpath(child));
    }

    void startsAtTheWorkingDirectory()
    {
        DirList list;
        QCOMPARE(list.path(), QDir::toNativeSeparators(QDir::currentPath()));
    }

    void setPathEmitsTheNativeFullPathOnce()
    {
        DirList list;
        QSignalSpy spy(&list, &DirList::pathChanged);
        list.setPath(game + QStringLiteral("/./"));
        const QString expected = QDir::toNativeSeparators(game);
        QCOMPARE(list.path(), expected);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toString(), expected);
    }

    void setPathSelectsAndOpensTheFolder()
    {
        DirList list;
        list.show();
        list.setPath(game);
        QVERIFY(rowShown(list, child));
        QCOMPARE(list.currentIndex(), row(list, game));
        QVERIFY(list.isExpanded(row(list, game)));
    }

    void setPathToTheSameFolderEmitsNothing()
    {
        DirList list;
        list.setPath(game);
        QSignalSpy spy(&list, &DirList::pathChanged);
        list.setPath(QDir::toNativeSeparators(game));
        QCOMPARE(spy.count(), 0);
    }

    void aMissingFolderFailsAndKeepsThePath()
    {
        DirList list;
        list.setPath(game);
        QSignalSpy spy(&list, &DirList::pathChanged);
        try {
            list.setPath(game + QStringLiteral("/missing"));
            QFAIL("no failure");
        } catch (const Failure& failure) {
            QCOMPARE(failure.number(), 71);
        }
        QCOMPARE(list.path(), QDir::toNativeSeparators(game));
        QCOMPARE(spy.count(), 0);
    }

    void aFileIsNoFolder()
    {
        QFile file(game + QStringLiteral("/readme.txt"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        DirList list;
        QVERIFY_THROWS_EXCEPTION(Failure, list.setPath(file.fileName()));
    }

    void theRootHasItsSeparator()
    {
        DirList list;
        list.setPath(QDir::rootPath());
        QCOMPARE(list.path(), QDir::toNativeSeparators(QDir::rootPath()));
    }

    void clickingASubfolderOpensIt()
    {
        DirList list;
        list.resize(400, 600);
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        list.setPath(game);
        QSignalSpy spy(&list, &DirList::pathChanged);
        QVERIFY(rowShown(list, child));
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.visualRect(row(list, child)).center());
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toString(), QDir::toNativeSeparators(child));
        QCOMPARE(list.path(), QDir::toNativeSeparators(child));
    }

    void theDownKeyOpensTheNextFolder()
    {
        DirList list;
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        list.setPath(game);
        QVERIFY(rowShown(list, child));
        QTest::keyClick(&list, Qt::Key_Down);
        QCOMPARE(list.path(), QDir::toNativeSeparators(child));
    }

private:
    static QModelIndex row(const DirList& list, const QString& folder)
    {
        return qobject_cast<const QFileSystemModel*>(list.model())->index(folder);
    }

    // The model lists folders in the background; waits until the view shows it.
    static bool rowShown(const DirList& list, const QString& folder)
    {
        return QTest::qWaitFor([&] { return !list.visualRect(row(list, folder)).isEmpty(); });
    }

    QTemporaryDir temp;
    QString game;
    QString child;
};

QTEST_MAIN(TestDirList)
#include "test_dirlist.moc"
