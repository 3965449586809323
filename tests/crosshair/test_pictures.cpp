#include "core/common/Failure.h"
#include "gui/crosshair/PictureCatalogue.h"
#include "gui/widgets/ImageCombo.h"
#include "gui/widgets/ImageList.h"
#include "support/Checks.h"

#include <QAbstractItemView>
#include <QSignalSpy>
#include <QTest>

namespace {

int blackPixels(const QImage& image) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += image.pixel(x, y) == qRgb(0, 0, 0);
    return count;
}

} // namespace

class TestPictures : public QObject {
    Q_OBJECT
private slots:
    void theCataloguesListEveryPictureAtItsSize() {
        QList<QSize> crosshairs{{92, 34}, {93, 35}, {94, 37}, {94, 31},
                                {93, 30}, {94, 35}, {94, 33}, {94, 34}};
        for (const auto& [times, size] :
             {std::pair{6, QSize(94, 35)}, {3, QSize(94, 36)}, {3, QSize(94, 40)}})
            crosshairs.insert(crosshairs.size(), times, size);
        const struct {
            ImageList list;
            QString prefix;
            QSize field;
            QList<QSize> sizes;
        } kinds[] = {
            {PictureCatalogue::crosshairPictures(), QStringLiteral("cr"), {92, 34}, crosshairs},
            {PictureCatalogue::reticlePictures(),
             QStringLiteral("r"),
             {98, 38},
             {{98, 38}, {99, 34}, {99, 33}}}};
        for (const auto& kind : kinds) {
            QCOMPARE(kind.list.imageSize(), kind.field);
            QCOMPARE(kind.list.count(), kind.sizes.size());
            for (int position = 1; position <= kind.list.count(); ++position) {
                QCOMPARE(kind.list.picture(position).size(), kind.sizes[position - 1]);
                QCOMPARE(kind.list.picture(kind.prefix + QString::number(position)),
                         kind.list.picture(position));
            }
        }
        for (bool green : {false, true}) {
            const QColor centre = PictureCatalogue::lampPicture(green).pixelColor(8, 9);
            QVERIFY((green ? centre.green() : centre.red()) > 150);
            QVERIFY((green ? centre.red() : centre.green()) < 80);
        }
        const QList<QSize> sizes = PictureCatalogue::programIcon().availableSizes();
        for (int size : {16, 32, 48, 64, 128})
            QVERIFY(sizes.contains(QSize(size, size)));
    }

    void imageListReadsByPositionFromOneAndByKey() {
        QImage red(4, 4, QImage::Format_RGB888);
        red.fill(Qt::red);
        QImage blue(4, 4, QImage::Format_RGB888);
        blue.fill(Qt::blue);
        ImageList list({4, 4});
        list.add(QStringLiteral("a"), red);
        list.add(QStringLiteral("b"), blue);
        QCOMPARE(list.picture(1), red);
        QCOMPARE(list.picture(2), blue);
        QCOMPARE(list.picture(QStringLiteral("b")), blue);
        for (const auto& read : std::initializer_list<std::function<void()>>{
                 [&] { list.picture(0); }, [&] { list.picture(3); },
                 [&] { list.picture(QStringLiteral("c")); }})
            QCOMPARE(Checks::failureOf(read), FailureNumber::NoItemChosen);
    }

    void comboItemsGoInAtTheirPositionAndNoneIsChosen() {
        for (const QString& text : {QStringLiteral("Please choose."), QString()}) {
            ImageCombo combo;
            combo.setImageList(&crosshairs);
            combo.setText(text);
            combo.addItem(1, QStringLiteral("b"), QStringLiteral("B"), QStringLiteral("cr2"));
            combo.addItem(1, QStringLiteral("a"), QStringLiteral("A"), QStringLiteral("cr1"));
            combo.addItem(3, QStringLiteral("c"), QStringLiteral("C"));
            QCOMPARE(combo.selectedPosition(), 0);
            QVERIFY(!combo.hasSelection());
            combo.setItemText(3, QStringLiteral("Third"));
            QCOMPARE(
                QStringList({combo.itemText(0), combo.itemText(1), combo.itemText(2)}),
                QStringList({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("Third")}));
            QCOMPARE(combo.findData(QStringLiteral("c")), 2);
            QVERIFY(!combo.itemIcon(0).isNull());
            QVERIFY(combo.itemIcon(2).isNull());
            QCOMPARE(combo.iconSize(), QSize(92, 34));
            QVERIFY_THROWS_EXCEPTION(Failure,
                                     combo.addItem(5, QStringLiteral("e"), QStringLiteral("E")));
            QVERIFY_THROWS_EXCEPTION(Failure, combo.setItemText(4, QStringLiteral("Fourth")));
            combo.setSelectedPosition(3);
            QVERIFY(combo.hasSelection());
            combo.addItem(1, QStringLiteral("first"), QStringLiteral("First"));
            QCOMPARE(combo.selectedPosition(), 4);
            combo.setSelectedPosition(0);
            QCOMPARE(combo.selectedPosition(), 0);
        }
    }

    void onlyThePlayersPickRaisesClicked() {
        ImageCombo combo;
        fill(combo);
        QList<int> picked;
        connect(&combo, &ImageCombo::clicked, this, [&] { picked << combo.selectedPosition(); });
        combo.setSelectedPosition(2);
        combo.setCurrentIndex(0);
        combo.setItemText(1, QStringLiteral("Renamed"));
        combo.clear();
        fill(combo);
        QVERIFY(picked.isEmpty());
        combo.show();
        QVERIFY(QTest::qWaitForWindowExposed(&combo));
        QTest::keyClick(&combo, Qt::Key_Down);
        QTest::keyClick(&combo, Qt::Key_Down);
        QCOMPARE(picked, QList<int>({1, 2}));
        combo.showPopup();
        QAbstractItemView* view = combo.view();
        QVERIFY(QTest::qWaitForWindowExposed(view->window()));
        QTest::keyClick(view, Qt::Key_Down);
        QCOMPARE(picked.size(), 2);
        QTest::keyClick(view, Qt::Key_Return);
        QCOMPARE(picked, QList<int>({1, 2, 3}));
    }

    void fieldShowsTextUntilChosenThenThePicture() {
        ImageCombo combo;
        fill(combo);
        combo.show();
        QVERIFY(QTest::qWaitForWindowExposed(&combo));
        const QImage withText = combo.grab().toImage();
        combo.setText({});
        QVERIFY(combo.grab().toImage() != withText);
        combo.setSelectedPosition(3);
        const int withoutPicture = blackPixels(combo.grab().toImage());
        combo.setSelectedPosition(1);
        QVERIFY(blackPixels(combo.grab().toImage()) > withoutPicture + 40);
    }

    void bindingTheListLaterGivesItemsTheirPictures() {
        ImageCombo combo;
        combo.addItem(1, QStringLiteral("a"), QStringLiteral("A"), QStringLiteral("r2"));
        QVERIFY(combo.itemIcon(0).isNull());
        combo.resize(113, 22);
        combo.setImageList(&reticles);
        QVERIFY(!combo.itemIcon(0).isNull());
        // Narrowed to the field beside the arrow, in proportion, never squeezed flat.
        const QSize shown = combo.iconSize();
        QVERIFY(shown.width() < 98);
        QVERIFY(qAbs(shown.height() * 98 - shown.width() * 38) < 98);
        QCOMPARE(combo.width(), 113);
        QVERIFY(combo.height() > shown.height());
        QVERIFY_THROWS_EXCEPTION(Failure,
                                 combo.addItem(2, QStringLiteral("b"), {}, QStringLiteral("r9")));
    }

private:
    // Items 1 and 2 have pictures, item 3 has neither picture nor text.
    void fill(ImageCombo& combo) const {
        combo.setImageList(&crosshairs);
        combo.setText(QStringLiteral("Please choose."));
        combo.addItem(1, QStringLiteral("one"), {}, QStringLiteral("cr1"));
        combo.addItem(2, QStringLiteral("two"), {}, QStringLiteral("cr2"));
        combo.addItem(3, QStringLiteral("none"), {});
    }

    const ImageList crosshairs = PictureCatalogue::crosshairPictures();
    const ImageList reticles = PictureCatalogue::reticlePictures();
};

QTEST_MAIN(TestPictures)
#include "test_pictures.moc"
