#pragma once

#include <QComboBox>
#include <QString>

class ImageList;

// A drop-down list whose items show a picture before their text; the chosen
// item's picture shows in the field. Positions count from 1, 0 meaning none.
// Items are never chosen by filling the list: the field shows setText()'s text
// until the player or the code chooses one.
class ImageCombo : public QComboBox {
    Q_OBJECT

public:
    explicit ImageCombo(QWidget* parent = nullptr);

    // The list is not owned and must outlive the combo's items.
    void setImageList(const ImageList* images);

    // An empty pictureKey gives the item no picture. The key is the item's
    // data, so findData(key) + 1 is its position.
    void addItem(int position, const QString& key, const QString& text,
                 const QString& pictureKey = {});

    // What a screen reader says for the item, whose text may be empty.
    void setItemName(int position, const QString& name);

    int selectedPosition() const;
    bool hasSelection() const;

    // Shown in the field while nothing is chosen.
    void setText(const QString& text);

signals:
    // Only when the player picks an item, even the one already chosen.
    void clicked();

private:
    void checkPosition(int position, int last) const;
    QIcon pictureIcon(const QString& pictureKey) const;
    void refreshPictures();
    void fitPictures();

    const ImageList* m_images = nullptr;
};
