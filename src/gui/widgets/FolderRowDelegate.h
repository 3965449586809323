#pragma once

#include <QStyledItemDelegate>

// Draws a row of the directory list: its icon and name a few pixels further
// in for each level of its folder (the depth in Qt::UserRole), with tight
// margins, the name shortened at its start where it does not fit, so that a
// deep path still leaves room for the names.
class FolderRowDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void setStep(int pixelsPerLevel) { m_step = pixelsPerLevel; }
    int step() const { return m_step; }
    // The pixels of a row that are neither indent nor name.
    static int marginsWith(int iconWidth) { return iconWidth + 2 * margin + iconGap; }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    static constexpr int margin = 2;
    static constexpr int iconGap = 3;
    int indentOf(const QModelIndex& index) const;

    int m_step = 0;
};
