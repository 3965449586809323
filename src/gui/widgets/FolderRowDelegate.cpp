#include "gui/widgets/FolderRowDelegate.h"

int FolderRowDelegate::indentOf(const QModelIndex& index) const {
    return index.data(Qt::UserRole).toInt() * m_step;
}

void FolderRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const {
    QStyleOptionViewItem indented(option);
    indented.rect.setLeft(option.rect.left() + indentOf(index));
    QStyledItemDelegate::paint(painter, indented, index);
}

// Only the height counts: every row takes the list's width and shortens its
// name to fit, so no row pushes the others sideways.
QSize FolderRowDelegate::sizeHint(const QStyleOptionViewItem& option,
                                  const QModelIndex& index) const {
    return {indentOf(index) + option.decorationSize.width(),
            QStyledItemDelegate::sizeHint(option, index).height()};
}
