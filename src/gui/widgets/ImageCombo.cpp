#include "gui/widgets/ImageCombo.h"

#include "core/common/Failure.h"
#include "gui/widgets/ImageList.h"

#include <QIcon>
#include <QStyle>
#include <QStyleOptionComboBox>

namespace {
constexpr int pictureKeyRole = Qt::UserRole + 1;
constexpr int pictureMargin = 4; // the styles leave this much left of the picture
} // namespace

ImageCombo::ImageCombo(QWidget* parent) : QComboBox(parent)
{
    connect(this, &QComboBox::activated, this, &ImageCombo::clicked);
}

void ImageCombo::setImageList(const ImageList* images)
{
    m_images = images;
    refreshPictures();
}

void ImageCombo::addItem(int position, const QString& key, const QString& text,
                         const QString& pictureKey)
{
    checkPosition(position, count() + 1);
    const bool wasChosen = hasSelection();
    insertItem(position - 1, pictureIcon(pictureKey), text, key);
    QComboBox::setItemData(position - 1, pictureKey, pictureKeyRole);
    // QComboBox chooses the first item put into an empty list; we don't.
    if (!wasChosen)
        setCurrentIndex(-1);
    fitPictures();
}

void ImageCombo::setItemName(int position, const QString& name)
{
    checkPosition(position, count());
    QComboBox::setItemData(position - 1, name, Qt::AccessibleTextRole);
}

int ImageCombo::selectedPosition() const
{
    return currentIndex() + 1;
}

bool ImageCombo::hasSelection() const
{
    return currentIndex() >= 0;
}

void ImageCombo::setText(const QString& text)
{
    setPlaceholderText(text);
}

// As in ImageList, a position the list does not hold reads like an unchosen item.
void ImageCombo::checkPosition(int position, int last) const
{
    if (position < 1 || position > last)
        throw Failure(FailureNumber::NoItemChosen);
}

QIcon ImageCombo::pictureIcon(const QString& pictureKey) const
{
    if (pictureKey.isEmpty() || !m_images)
        return {};
    return QIcon(m_images->pixmap(pictureKey));
}

// The pictures show whole: narrowed to the field beside the arrow if the
// list's pictures are wider, and the control grown to their height, so the
// numbers drawn in them stay readable instead of being cut or squeezed.
void ImageCombo::fitPictures()
{
    if (!m_images)
        return;
    QStyleOptionComboBox option;
    initStyleOption(&option);
    const QRect field =
        style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    const int roomBesideTheArrow = field.width() - pictureMargin;
    QSize pictureSize = m_images->imageSize();
    if (roomBesideTheArrow > 0 && pictureSize.width() > roomBesideTheArrow)
        pictureSize =
            pictureSize.scaled(roomBesideTheArrow, pictureSize.height(), Qt::KeepAspectRatio);
    setIconSize(pictureSize);
    const QSize contents(pictureSize.width(), qMax(pictureSize.height(), fontMetrics().height()));
    const int fitting =
        style()->sizeFromContents(QStyle::CT_ComboBox, &option, contents, this).height();
    resize(width(), qMax(height(), fitting));
}

void ImageCombo::refreshPictures()
{
    for (int index = 0; index < count(); ++index)
        setItemIcon(index, pictureIcon(itemData(index, pictureKeyRole).toString()));
    fitPictures();
}
