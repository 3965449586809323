#include "core/common/Failure.h"
#include "gui/widgets/ImageList.h"
#include "gui/crosshair/PictureCatalogue.h"

#include <QBitArray>
#include <QFile>
#include <QIcon>
#include <QTest>

#include <functional>

namespace {

QList<QSize> crosshairSizes()
{
    QList<QSize> sizes = {{92, 34}, {93, 35}, {94, 37}, {94, 31}, {93, 30}, {94, 35}, {94, 33}, {94, 34}};
    sizes.insert(sizes.size(), 6, QSize(94, 35));
    sizes.insert(sizes.size(), 3, QSize(94, 36));
    sizes.insert(sizes.size(), 3, QSize(94, 40));
    return sizes;
}

const QList<QSize> reticleSizes = {{98, 38}, {99, 34}, {99, 33}};

bool isGrey(QRgb pixel)
{
    return qAbs(qRed(pixel) - qGreen(pixel)) < 16 && qAbs(qGreen(pixel) - qBlue(pixel)) < 16;
}

bool isDark(QRgb pixel)
{
    return qGray(pixel) < 128;
}

int bitsPerPixel(const QString& resource)
{
    QFile file(resource);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray header = file.read(30);
    return header.startsWith("BM") ? quint8(header[28]) | quint8(header[29]) << 8 : 0;
}

// Which cells of an 8x8 grid over the shape's bounding box hold ink, so that
// shapes compare regardless of the picture's height.
QBitArray shapeCells(const QImage& image)
{
    const QRect left(0, 0, image.width() / 2, image.height());
    QRect box;
    for (int y = left.top(); y <= left.bottom(); ++y)
        for (int x = left.left(); x <= left.right(); ++x)
            if (isDark(image.pixel(x, y)))
                box |= QRect(x, y, 1, 1);
    QBitArray cells(64);
    for (int y = box.top(); y <= box.bottom(); ++y)
        for (int x = box.left(); x <= box.right(); ++x)
            if (isDark(image.pixel(x, y)))
                cells.setBit((y - box.top()) * 8 / box.height() * 8 + (x - box.left()) * 8 / box.width());
    return cells;
}

void checkChoicePictures(const ImageList& list, const QString& prefix, const QList<QSize>& sizes)
{
    QCOMPARE(list.count(), sizes.size());
    for (int position = 1; position <= list.count(); ++position) {
        const QString key = prefix + QString::number(position);
        const QImage& image = list.picture(position);
        QCOMPARE(image.size(), sizes[position - 1]);
        QCOMPARE(list.picture(key), image);
        QCOMPARE(bitsPerPixel(QStringLiteral(":/pictures/%1.bmp").arg(key)), 24);
        const QRect r = image.rect();
        for (const QPoint& corner : {r.topLeft(), r.topRight(), r.bottomLeft(), r.bottomRight()})
            QCOMPARE(image.pixel(corner), qRgb(255, 255, 255));
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                QVERIFY2(isGrey(image.pixel(x, y)), qPrintable(key));
    }
}

void checkFailure(const std::function<void()>& read)
{
    try {
        read();
        QFAIL("no failure");
    } catch (const Failure& failure) {
        QCOMPARE(failure.number(), FailureNumber::NoItemChosen);
    }
}

} // namespace

class TestPictures : public QObject {
    Q_OBJECT

private slots:
    void crosshairsAreBlackOnWhiteAtTheirSizes()
    {
        const ImageList list = PictureCatalogue::crosshairPictures();
        QCOMPARE(list.imageSize(), QSize(92, 34));
        checkChoicePictures(list, QStringLiteral("cr"), crosshairSizes());
    }

    void reticlesAreBlackOnWhiteAtTheirSizes()
    {
        const ImageList list = PictureCatalogue::reticlePictures();
        QCOMPARE(list.imageSize(), QSize(98, 38));
        checkChoicePictures(list, QStringLiteral("r"), reticleSizes);
    }

    void shapesDifferFromEachOther()
    {
        for (const ImageList& list : {PictureCatalogue::crosshairPictures(), PictureCatalogue::reticlePictures()}) {
            QList<QBitArray> shapes;
            for (int position = 1; position <= list.count(); ++position)
                shapes << shapeCells(list.picture(position));
            for (int a = 0; a < shapes.size(); ++a)
                for (int b = a + 1; b < shapes.size(); ++b)
                    QVERIFY2((shapes[a] ^ shapes[b]).count(true) >= 2,
                             qPrintable(QStringLiteral("%1 looks like %2").arg(a + 1).arg(b + 1)));
        }
    }

    void lampsAreDiscsOnBlack()
    {
        for (bool green : {false, true}) {
            const QImage lamp = PictureCatalogue::lampPicture(green);
            QCOMPARE(lamp.size(), QSize(17, 19));
            for (const QPoint& corner : {QPoint(0, 0), QPoint(16, 0), QPoint(0, 18), QPoint(16, 18)})
                QCOMPARE(lamp.pixel(corner), qRgb(0, 0, 0));
            const QColor centre = lamp.pixelColor(8, 9);
            const int lit = green ? centre.green() : centre.red();
            const int other = green ? centre.red() : centre.green();
            QVERIFY(lit > 150 && other < 80 && centre.blue() < 80);
            const QRgb rim = lamp.pixel(8, 2);
            QVERIFY(isGrey(rim) && qGray(rim) > 60);
        }
    }

    void programIconHasSmallAndLargeSizes()
    {
        const QList<QSize> sizes = PictureCatalogue::programIcon().availableSizes();
        for (int size : {16, 32, 48, 64, 128})
            QVERIFY(sizes.contains(QSize(size, size)));
    }

    void imageListReadsByPositionFromOneAndByKey()
    {
        QImage first(4, 4, QImage::Format_RGB888);
        first.fill(Qt::red);
        QImage second(4, 4, QImage::Format_RGB888);
        second.fill(Qt::blue);
        ImageList list({4, 4});
        list.add(QStringLiteral("a"), first);
        list.add(QStringLiteral("b"), second);
        QCOMPARE(list.count(), 2);
        QCOMPARE(list.picture(1), first);
        QCOMPARE(list.picture(2), second);
        QCOMPARE(list.picture(QStringLiteral("b")), second);
        checkFailure([&] { list.picture(0); });
        checkFailure([&] { list.picture(3); });
        checkFailure([&] { list.picture(QStringLiteral("c")); });
    }
};

QTEST_MAIN(TestPictures)
#include "test_pictures.moc"
