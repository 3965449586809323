#include "gui/widgets/ImageList.h"

#include "core/common/Failure.h"

#include <QPainter>

ImageList::ImageList(QSize imageSize) : m_imageSize(imageSize) {}

void ImageList::add(const QString& key, const QImage& image)
{
    m_entries.append({key, image});
}

int ImageList::count() const
{
    return int(m_entries.size());
}

QSize ImageList::imageSize() const
{
    return m_imageSize;
}

const QImage& ImageList::picture(int position) const
{
    if (position < 1 || position > count())
        throw Failure(FailureNumber::NoItemChosen);
    return m_entries[position - 1].image;
}

const QImage& ImageList::picture(const QString& key) const
{
    for (const Entry& entry : m_entries) {
        if (entry.key == key)
            return entry.image;
    }
    throw Failure(FailureNumber::NoItemChosen);
}

QPixmap ImageList::pixmap(const QString& key) const
{
    const QImage& image = picture(key);
    QPixmap canvas(m_imageSize);
    canvas.fill(Qt::transparent);
    QPainter painter(&canvas);
    const QSize margin = m_imageSize - image.size();
    painter.drawImage(margin.width() / 2, margin.height() / 2, image);
    return canvas;
}
