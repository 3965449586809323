#pragma once

#include <QImage>
#include <QList>
#include <QPixmap>
#include <QSize>
#include <QString>

// An ordered list of pictures under keys, shown at one size for the whole list.
// Positions count from 1. Asking for a position or key the list doesn't hold
// throws Failure(FailureNumber::NoItemChosen): like reading an unchosen item,
// there is nothing to give back.
class ImageList {
public:
    explicit ImageList(QSize imageSize);

    void add(const QString& key, const QImage& image);

    int count() const;
    QSize imageSize() const;

    const QImage& picture(int position) const;
    const QImage& picture(const QString& key) const;

    // The picture on a transparent canvas of imageSize(), centred and cropped
    // rather than scaled so that thin lines stay sharp. Needs a QGuiApplication.
    QPixmap pixmap(const QString& key) const;

private:
    struct Entry {
        QString key;
        QImage image;
    };

    QList<Entry> m_entries;
    QSize m_imageSize;
};
