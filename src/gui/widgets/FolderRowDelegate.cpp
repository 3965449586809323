#include "gui/widgets/FolderRowDelegate.h"

#include <QApplication>
#include <QPainter>

int FolderRowDelegate::indentOf(const QModelIndex& index) const
{
    return index.data(Qt::UserRole).toInt() * m_step;
}

// The style draws the row's background, selection and focus over the whole
// width; the icon and the name are placed here.
void FolderRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const
{
    QStyleOptionViewItem row(option);
    initStyleOption(&row, index);
    const QIcon icon = row.icon;
    const QString name = row.text;
    row.icon = QIcon();
    row.text.clear();
    const QStyle* style = row.widget ? row.widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &row, painter, row.widget);

    const QSize iconSize = row.decorationSize;
    const int left = row.rect.left() + margin + indentOf(index);
    const QRect iconRect(QPoint(left, row.rect.center().y() - iconSize.height() / 2), iconSize);
    const bool selected = row.state & QStyle::State_Selected;
    icon.paint(painter, iconRect, Qt::AlignCenter, selected ? QIcon::Selected : QIcon::Normal);
    const QRect textRect(QPoint(iconRect.right() + 1 + iconGap, row.rect.top()),
                         QPoint(row.rect.right() - margin, row.rect.bottom()));
    painter->save();
    painter->setPen(row.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
    painter->drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter,
                      row.fontMetrics.elidedText(name, Qt::ElideLeft, textRect.width()));
    painter->restore();
}

// Only the height counts: every row takes the list's width and shortens its
// name to fit, so no row pushes the others sideways.
QSize FolderRowDelegate::sizeHint(const QStyleOptionViewItem& option,
                                  const QModelIndex& index) const
{
    return {indentOf(index) + marginsWith(option.decorationSize.width()),
            QStyledItemDelegate::sizeHint(option, index).height()};
}
