#pragma once

#include <QStyledItemDelegate>

// Draws a row of the directory list a few pixels further in for each level
// of its folder (the depth in Qt::UserRole), so that a deep path still
// leaves room for the names.
class FolderRowDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void setStep(int pixelsPerLevel) { m_step = pixelsPerLevel; }
    int step() const { return m_step; }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    int indentOf(const QModelIndex& index) const;

    int m_step = 0;
};
