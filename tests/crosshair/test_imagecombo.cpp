#include "core/common/Failure.h"
#include "gui/widgets/ImageCombo.h"
#include "gui/widgets/ImageList.h"
#include "gui/crosshair/PictureCatalogue.h"

#include <QAbstractItemView>
#include <QSignalSpy>
#include <QTest>

#include <memory>

namespace {

int blackPixels(const QImage& image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += image.pixel(x, y) == qRgb(0, 0, 0);
    return count;
}

} // namespace

class TestImageCombo : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        m_combo = std::make_unique<ImageCombo>();
        m_combo->setImageList(&m_pictures);
        m_combo->setText(QStringLiteral("Please choose."));
        m_clicks = std::make_unique<QSignalSpy>(m_combo.get(), &ImageCombo::clicked);
        connect(m_combo.get(), &ImageCombo::clicked, this,
                [this] { m_positionsClicked << m_combo->selectedPosition(); });
        m_positionsClicked.clear();
    }

    void itemsGoInAtTheirPosition()
    {
        m_combo->addItem(1, QStringLiteral("b"), QStringLiteral("B"), QStringLiteral("cr2"));
        m_combo->addItem(1, QStringLiteral("a"), QStringLiteral("A"), QStringLiteral("cr1"));
        m_combo->addItem(3, QStringLiteral("c"), QStringLiteral("C"));
        m_combo->setItemText(3, QStringLiteral("Third"));
        QCOMPARE(m_combo->itemText(0), QStringLiteral("A"));
        QCOMPARE(m_combo->itemText(1), QStringLiteral("B"));
        QCOMPARE(m_combo->itemText(2), QStringLiteral("Third"));
        QCOMPARE(m_combo->findData(QStringLiteral("c")), 2);
        QVERIFY(!m_combo->itemIcon(0).isNull());
        QVERIFY(m_combo->itemIcon(2).isNull());
        QCOMPARE(m_combo->iconSize(), QSize(92, 34));
        QVERIFY_THROWS_EXCEPTION(Failure, m_combo->addItem(5, QStringLiteral("e"), QStringLiteral("E")));
        QVERIFY_THROWS_EXCEPTION(Failure, m_combo->setItemText(4, QStringLiteral("Fourth")));
    }

    void nothingIsChosenUntilSomeoneChooses()
    {
        fill();
        QCOMPARE(m_combo->selectedPosition(), 0);
        QVERIFY(!m_combo->hasSelection());
        m_combo->setSelectedPosition(3);
        QCOMPARE(m_combo->selectedPosition(), 3);
        QVERIFY(m_combo->hasSelection());
        m_combo->addItem(1, QStringLiteral("first"), QStringLiteral("First"));
        QCOMPARE(m_combo->selectedPosition(), 4);
        m_combo->setSelectedPosition(0);
        QCOMPARE(m_combo->selectedPosition(), 0);
    }

    void fillingChoosesNothingEvenWithoutText()
    {
        m_combo->setText({});
        fill();
        QCOMPARE(m_combo->selectedPosition(), 0);
    }

    void codeNeverRaisesClicked()
    {
        fill();
        m_combo->setSelectedPosition(2);
        m_combo->setCurrentIndex(0);
        m_combo->setItemText(1, QStringLiteral("Renamed"));
        m_combo->clear();
        fill();
        QCOMPARE(m_clicks->count(), 0);
    }

    void keyboardPickRaisesClickedOnce()
    {
        fill();
        m_combo->show();
        QTest::keyClick(m_combo.get(), Qt::Key_Down);
        QCOMPARE(m_positionsClicked, QList<int>{1});
        QTest::keyClick(m_combo.get(), Qt::Key_Down);
        QCOMPARE(m_positionsClicked, QList<int>({1, 2}));
    }

    void popupPickRaisesClickedOnce()
    {
        fill();
        m_combo->setSelectedPosition(1);
        m_combo->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_combo.get()));
        m_combo->showPopup();
        QAbstractItemView* view = m_combo->view();
        QVERIFY(QTest::qWaitForWindowExposed(view->window()));
        QTest::keyClick(view, Qt::Key_Down);
        QTest::keyClick(view, Qt::Key_Down);
        QCOMPARE(m_clicks->count(), 0);
        QTest::keyClick(view, Qt::Key_Return);
        QCOMPARE(m_positionsClicked, QList<int>{3});
    }

    void fieldShowsTextUntilChosenThenThePicture()
    {
        fill();
        m_combo->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_combo.get()));
        const QImage withText = m_combo->grab().toImage();
        m_combo->setText({});
        QVERIFY(m_combo->grab().toImage() != withText);

        m_combo->setSelectedPosition(3);
        const int withoutPicture = blackPixels(m_combo->grab().toImage());
        m_combo->setSelectedPosition(1);
        QVERIFY(blackPixels(m_combo->grab().toImage()) > withoutPicture + 40);
    }

    void bindingTheListLaterGivesItemsTheirPictures()
    {
        ImageCombo combo;
        combo.addItem(1, QStringLiteral("a"), QStringLiteral("A"), QStringLiteral("r2"));
        QVERIFY(combo.itemIcon(0).isNull());
        combo.resize(113, 22);
        combo.setImageList(&m_reticles);
        QVERIFY(!combo.itemIcon(0).isNull());
        // Narrowed to the field beside the arrow, in proportion, never squeezed flat.
        QVERIFY(combo.iconSize().width() < 98);
        const QSize shown = combo.iconSize();
        QVERIFY(qAbs(shown.height() * 98 - shown.width() * 38) < 98);
        QCOMPARE(combo.width(), 113);
        QVERIFY(combo.height() > combo.iconSize().height());
        QVERIFY_THROWS_EXCEPTION(Failure, combo.addItem(2, QStringLiteral("b"), {}, QStringLiteral("r9")));
    }

private:
    // Items 1 and 2 have pictures, item 3 has neither picture nor text.
    void fill()
    {
        m_combo->addItem(1, QStringLiteral("one"), {}, QStringLiteral("cr1"));
        m_combo->addItem(2, QStringLiteral("two"), {}, QStringLiteral("cr2"));
        m_combo->addItem(3, QStringLiteral("none"), {});
    }

    const ImageList m_pictures = PictureCatalogue::crosshairPictures();
    const ImageList m_reticles = PictureCatalogue::reticlePictures();
    std::unique_ptr<ImageCombo> m_combo;
    std::unique_ptr<QSignalSpy> m_clicks;
    QList<int> m_positionsClicked;
};

QTEST_MAIN(TestImageCombo)
#include "test_imagecombo.moc"
