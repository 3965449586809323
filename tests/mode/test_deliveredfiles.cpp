#include "support/Checks.h"

#include <QTest>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

QByteArray delivered(const QString& name)
{
    return Checks::bytesOf(u"" GRIMTIDE_CONS_DIR "/"_s + name + u".con"_s);
}

QList<QByteArray> linesOf(const QByteArray& bytes)
{
    QList<QByteArray> lines = bytes.split('\n');
    lines.removeLast(); // after the last line end
    for (QByteArray& line : lines)
        line.chop(1); // its CR
    return lines;
}

QList<QByteArray> valuesOf(const QByteArray& bytes, const QByteArray& command)
{
    QList<QByteArray> values;
    for (const QByteArray& line : linesOf(bytes)) {
        if (line.startsWith(command + ' '))
            values << line.mid(command.size() + 1);
    }
    return values;
}

const QList<QByteArray> musicLines{
    "Game.setMenuMusicFilename \"music/slaughter4.bik\"",
    "Game.setLoadMusicFilename \"music/vehicle4.bik\"",
    "Game.setWinMusicFilename \"music/vehicle3.bik\"",
    "Game.setLoseMusicFilename \"music/menu.bik\"",
    "Game.setCampaignLoseMusicFilename \"music/theme2.bik\"",
    "Game.setDebriefingMusicFilename \"music/briefing.bik\"",
};

} // namespace

class TestDeliveredFiles : public QObject {
    Q_OBJECT
private slots:
    void eachFileSpeaksTheGamesOwnDialect_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QList<QByteArray>>("modPaths");
        QTest::addColumn<QByteArray>("version");
        const QByteArray base = "Mods/BF1942/", mod = "Mods/gtide_base/";
        QTest::newRow("purebf") << u"purebf"_s << QByteArray("BF1942")
                                << QList<QByteArray>{"Mods/bf1942/"} << QByteArray("1.61");
        QTest::newRow("purex1") << u"purex1"_s << QByteArray("XPack1")
                                << QList<QByteArray>{"Mods/XPack1/", base} << QByteArray("1.6");
        QTest::newRow("purex2") << u"purex2"_s << QByteArray("XPack2")
                                << QList<QByteArray>{"Mods/XPack2/", base} << QByteArray("1.6");
        QTest::newRow("unbf") << u"unbf"_s << QByteArray("BF1942")
                              << QList<QByteArray>{mod, "Mods/bf1942/"} << QByteArray("1.61");
        QTest::newRow("unx1") << u"unx1"_s << QByteArray("XPack1")
                              << QList<QByteArray>{mod, "Mods/XPack1/", base} << QByteArray("1.6");
        QTest::newRow("unx2") << u"unx2"_s << QByteArray("XPack2")
                              << QList<QByteArray>{mod, "Mods/XPack2/", base} << QByteArray("1.6");
    }

    void eachFileSpeaksTheGamesOwnDialect()
    {
        QFETCH(QString, file);
        QFETCH(QByteArray, name);
        QFETCH(QList<QByteArray>, modPaths);
        QFETCH(QByteArray, version);
        const QByteArray bytes = delivered(file);
        QVERIFY(bytes.endsWith("\r\n"));
        QCOMPARE(bytes.count('\n'), bytes.count("\r\n")); // CRLF only
        QCOMPARE(bytes.count('\r'), bytes.count("\r\n"));
        // Latin-1 text: no control character but the line ends, no byte
        // that only UTF-8 or a byte-order mark would put there.
        QVERIFY(std::all_of(bytes.begin(), bytes.end(), [](char c) {
            const auto byte = static_cast<unsigned char>(c);
            return byte == '\r' || byte == '\n' || (byte >= 0x20 && byte < 0x7f) || byte >= 0xa0;
        }));
        QVERIFY(!bytes.toLower().contains("setactivemod"));
        QVERIFY(!bytes.toLower().contains("game.addpath"));
        QCOMPARE(valuesOf(bytes, "game.setCustomGameName"), QList<QByteArray>{name});
        QCOMPARE(valuesOf(bytes, "game.addModPath"), modPaths);
        QCOMPARE(valuesOf(bytes, "game.setCustomGameVersion"), QList<QByteArray>{version});
        QCOMPARE(valuesOf(bytes, "game.setCustomGameUrl"),
                 QList<QByteArray>{"\"http://www.battlefield1942.com\""});
        QList<QByteArray> music = linesOf(bytes);
        music.removeIf([](const QByteArray& line) { return !line.contains("Music"); });
        QCOMPARE(music, musicLines);
    }

    // Nothing but the lines a retail init.con carries: its name, mod paths,
    // version, url and music, and the blank lines between.
    void eachFileHoldsOnlyTheGamesOwnCommands_data()
    {
        QTest::addColumn<QString>("file");
        for (const char* file : {"purebf", "purex1", "purex2", "unbf", "unx1", "unx2"})
            QTest::newRow(file) << QString::fromLatin1(file);
    }

    void eachFileHoldsOnlyTheGamesOwnCommands()
    {
        QFETCH(QString, file);
        QList<QByteArray> unknown = linesOf(delivered(file));
        unknown.removeIf([](const QByteArray& line) {
            return line.isEmpty() || line.startsWith("game.setCustomGameName ")
                   || line.startsWith("game.addModPath ")
                   || line.startsWith("game.setCustomGameVersion ")
                   || line.startsWith("game.setCustomGameUrl ") || musicLines.contains(line);
        });
        QCOMPARE(unknown, QList<QByteArray>());
    }

    void eachGrimtideFileIsItsPureFileWithTheModInFront_data()
    {
        QTest::addColumn<QString>("grimtide");
        QTest::addColumn<QString>("pure");
        QTest::newRow("bf1942") << u"unbf"_s << u"purebf"_s;
        QTest::newRow("xpack1") << u"unx1"_s << u"purex1"_s;
        QTest::newRow("xpack2") << u"unx2"_s << u"purex2"_s;
    }

    void eachGrimtideFileIsItsPureFileWithTheModInFront()
    {
        QFETCH(QString, grimtide);
        QFETCH(QString, pure);
        QByteArray expected = delivered(pure);
        QVERIFY(!expected.contains("gtide_base"));
        expected.insert(expected.indexOf("game.addModPath "),
                        "game.addModPath Mods/gtide_base/\r\n");
        QCOMPARE(delivered(grimtide), expected);
    }
};

QTEST_GUILESS_MAIN(TestDeliveredFiles)
#include "test_deliveredfiles.moc"
