#pragma once

#include <QHash>
#include <QIcon>
#include <QIconEngine>
#include <QList>
#include <QString>

// An icon drawn at several square sizes, one file each, that reads a file
// only when a size it serves is first asked for: a window or a tray needs
// one or two of them, and reading them all would hold up the start.
class FileIconEngine : public QIconEngine {
public:
    // The pattern holds "%1" where a file's name has its side in pixels;
    // sides rise.
    FileIconEngine(QString pathPattern, QList<int> sides);

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override;
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override;
    QIconEngine* clone() const override;

private:
    // The file that serves a size, as Qt picks among sizes: the smallest at
    // least as large, else the largest. Its own icon makes the other modes.
    const QIcon& iconFor(QSize size);

    QString m_pathPattern;
    QList<int> m_sides;
    QHash<int, QIcon> m_read;
};
