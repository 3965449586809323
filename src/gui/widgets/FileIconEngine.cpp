#include "gui/widgets/FileIconEngine.h"

#include <QPainter>
#include <QPixmap>

#include <algorithm>

FileIconEngine::FileIconEngine(QString pathPattern, QList<int> sides)
    : m_pathPattern(std::move(pathPattern)), m_sides(std::move(sides))
{
}

void FileIconEngine::paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
                           QIcon::State state)
{
    const QSize pixels = rect.size() * painter->device()->devicePixelRatio();
    painter->drawPixmap(rect, pixmap(pixels, mode, state));
}

QSize FileIconEngine::actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state)
{
    return iconFor(size).actualSize(size, mode, state);
}

QPixmap FileIconEngine::pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state)
{
    return iconFor(size).pixmap(size, mode, state);
}

// As an icon of files added for the normal mode: the other modes are made
// from these sizes, not offered as sizes of their own.
QList<QSize> FileIconEngine::availableSizes(QIcon::Mode mode, QIcon::State state)
{
    QList<QSize> sizes;
    if (mode == QIcon::Normal && state == QIcon::Off) {
        for (int side : m_sides)
            sizes.append({side, side});
    }
    return sizes;
}

QIconEngine* FileIconEngine::clone() const
{
    return new FileIconEngine(*this);
}

const QIcon& FileIconEngine::iconFor(QSize size)
{
    const qint64 area = qint64(size.width()) * size.height();
    const auto large = std::find_if(m_sides.cbegin(), m_sides.cend(),
                                    [area](int side) { return qint64(side) * side >= area; });
    const int side = large == m_sides.cend() ? m_sides.back() : *large;
    auto read = m_read.find(side);
    if (read == m_read.end())
        read = m_read.insert(side, QIcon(QPixmap(m_pathPattern.arg(side))));
    return *read;
}
