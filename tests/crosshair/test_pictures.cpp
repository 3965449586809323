#include "core/common/Failure.h"
#include "gui/crosshair/PictureCatalogue.h"
#include "gui/widgets/ImageCombo.h"
#include "gui/widgets/ImageList.h"
#include "support/Checks.h"

#include <QTest>

class TestPictures : public QObject {
    Q_OBJECT
private slots:
    void cataloguesHoldEveryPictureByPositionAndKey()
    {
        for (const auto& [list, prefix, field, count] :
             {std::tuple{crosshairs, QStringLiteral("cr"), QSize(92, 34), 20},
              std::tuple{reticles, QStringLiteral("r"), QSize(98, 38), 3}}) {
            QCOMPARE(list.imageSize(), field);
            QCOMPARE(list.count(), count);
            QCOMPARE(list.picture(1).size(), field); // positions count from 1
            for (int position = 1; position <= count; ++position)
                QVERIFY(!list.picture(position).isNull()
                        && list.picture(prefix + QString::number(position))
                               == list.picture(position));
            for (const auto& read : std::initializer_list<std::function<void()>>{
                     [&] { list.picture(0); }, [&] { list.picture(count + 1); },
                     [&] { list.picture(prefix + QStringLiteral("0")); }})
                QCOMPARE(Checks::failureOf(read), FailureNumber::NoItemChosen);
        }
        QVERIFY(PictureCatalogue::lampPicture(true).pixelColor(8, 9).green() > 150
                && PictureCatalogue::lampPicture(false).pixelColor(8, 9).red() > 150);
    }

    void comboItemsGoInAtTheirPositionAndNoneIsChosen()
    {
        ImageCombo combo;
        combo.addItem(1, QStringLiteral("b"), QStringLiteral("B"), QStringLiteral("cr2"));
        combo.addItem(1, QStringLiteral("a"), QStringLiteral("A"), QStringLiteral("cr1"));
        combo.addItem(3, QStringLiteral("c"), QStringLiteral("C"));
        QVERIFY(!combo.hasSelection() && combo.itemIcon(0).isNull());
        combo.setImageList(&crosshairs); // bound later, the items get their pictures
        QVERIFY(!combo.itemIcon(0).isNull() && combo.itemIcon(2).isNull());
        QCOMPARE(combo.iconSize(), QSize(92, 34));
        QCOMPARE(combo.itemText(0) + combo.itemText(1) + combo.itemText(2), QStringLiteral("ABC"));
        QVERIFY_THROWS_EXCEPTION(Failure, combo.addItem(5, QStringLiteral("e"), {}));
        combo.setCurrentIndex(2);
        combo.addItem(1, QStringLiteral("first"), {});
        QCOMPARE(combo.selectedPosition(), 4); // the choice moves with its item
    }

    void onlyThePlayersPickRaisesClickedAndShowsItsPicture()
    {
        ImageCombo combo;
        combo.setImageList(&crosshairs);
        combo.setText(QStringLiteral("Please choose."));
        combo.addItem(1, QStringLiteral("one"), {}, QStringLiteral("cr1"));
        combo.addItem(2, QStringLiteral("none"), {});
        QList<int> picked;
        connect(&combo, &ImageCombo::clicked, this, [&] { picked << combo.selectedPosition(); });
        combo.show();
        QVERIFY(QTest::qWaitForWindowExposed(&combo));
        const QImage withText = combo.grab().toImage();
        combo.setText({});
        QVERIFY(combo.grab().toImage() != withText);
        combo.setCurrentIndex(1); // item 2 has no picture
        const QImage withoutPicture = combo.grab().toImage();
        QTest::keyClick(&combo, Qt::Key_Up);
        QVERIFY(combo.grab().toImage() != withoutPicture);
        QTest::keyClick(&combo, Qt::Key_Down);
        QCOMPARE(picked, QList<int>({1, 2}));
    }

    // Read a size at a time, the icon still draws what Qt's icon of its files does.
    void theProgramIconDrawsAsAnIconOfAllItsFiles()
    {
        QIcon files;
        for (int size : {16, 32, 48, 64, 128})
            files.addFile(QStringLiteral(":/pictures/icon%1.png").arg(size), QSize(size, size));
        const QIcon icon = PictureCatalogue::programIcon();
        QCOMPARE(icon.availableSizes(), files.availableSizes());
        for (int side : {16, 24, 256}) // a file's own, between two, beyond the largest
            for (QIcon::Mode mode : {QIcon::Normal, QIcon::Disabled})
                QCOMPARE(icon.pixmap(side, mode).toImage(), files.pixmap(side, mode).toImage());
    }

    void picturesWiderThanTheFieldAreNarrowedInProportion()
    {
        ImageCombo combo;
        combo.resize(113, 22);
        combo.setImageList(&reticles);
        const QSize shown = combo.iconSize();
        QVERIFY(shown.width() < 98 && qAbs(shown.height() * 98 - shown.width() * 38) < 98);
        QVERIFY(combo.height() > shown.height());
    }

private:
    const ImageList crosshairs = PictureCatalogue::crosshairPictures();
    const ImageList reticles = PictureCatalogue::reticlePictures();
};

QTEST_MAIN(TestPictures)
#include "test_pictures.moc"
