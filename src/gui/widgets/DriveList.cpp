#include "gui/widgets/DriveList.h"

#include "core/common/GamePaths.h"

#include <QDir>
#include <QFileInfo>
#include <QStyleOptionComboBox>
#include <QStylePainter>

#include <algorithm>

namespace {

constexpr int isGameRole = Qt::UserRole + 1;

QString volumeLabel(const MountedVolumes::Volume& volume)
{
    return volume.name.isEmpty() ? volume.root
                                 : QStringLiteral("%1 (%2)").arg(volume.root, volume.name);
}

} // namespace

DriveList::DriveList(QWidget* parent) : QComboBox(parent)
{
    connect(this, &QComboBox::activated, this, &DriveList::pick);
    setDrives(volumesAtHand());
    setDrive(QDir::currentPath());
}

QList<DriveList::Drive> DriveList::volumesAtHand()
{
    QList<Drive> drives;
    for (const MountedVolumes::Volume& volume : MountedVolumes::rootAndWorkingDirectory())
        drives.append({volume.root, volumeLabel(volume)});
    return drives;
}

void DriveList::listFound(const GameSearch::Found& found)
{
    QList<Drive> drives;
    for (const GameFinder::Game& game : found.games)
        drives.append({game.folder, game.label(), true});
    for (const MountedVolumes::Volume& volume : found.volumes)
        drives.append({volume.root, volumeLabel(volume)});
    for (const WinePrefixes::Prefix& prefix : found.prefixes)
        drives.append({prefix.driveC(), QStringLiteral("C: (%1)").arg(prefix.where)});
    setDrives(drives);
    m_searchEnded = true;
    emit searchEnded();
}

void DriveList::setDrives(const QList<Drive>& drives)
{
    const QString shown = drive();
    clear();
    for (const Drive& d : drives) {
        addItem(d.label, d.root);
        setItemData(count() - 1, d.isGame, isGameRole);
        setItemData(count() - 1, d.root, Qt::ToolTipRole);
    }
    const int index = findData(shown);
    showDrive(index >= 0 ? index : 0);
}

QStringList DriveList::games() const
{
    QStringList folders;
    for (int i = 0; i < count(); ++i) {
        if (itemData(i, isGameRole).toBool())
            folders.append(itemData(i).toString());
    }
    return folders;
}

QString DriveList::drive() const
{
    return currentData().toString();
}

void DriveList::setDrive(const QString& pathOnDrive)
{
    const int index = driveIndexOf(pathOnDrive);
    if (index >= 0)
        showDrive(index);
}

// Tries the path as written and with its links resolved, so that a drive
// reached through a link or listed under its link name is found.
int DriveList::driveIndexOf(const QString& path) const
{
    const QStringList forms{GamePaths::cleanAbsolute(path), QFileInfo(path).canonicalFilePath()};
    int best = -1;
    qsizetype bestLength = -1;
    for (int i = 0; i < count(); ++i) {
        for (const QString& form : forms) {
            const qsizetype length =
                form.isEmpty() ? -1 : MountedVolumes::matchLength(itemData(i).toString(), form);
            if (length > bestLength) {
                best = i;
                bestLength = length;
            }
        }
    }
    return best;
}

void DriveList::showDrive(int index)
{
    setCurrentIndex(index);
    m_shown = drive();
}

void DriveList::pick(int index)
{
    const QString root = itemData(index).toString();
    if (root != m_shown) {
        m_shown = root;
        emit driveChanged(root);
    }
}

int DriveList::widthForLongestEntry() const
{
    int longest = 0;
    for (int i = 0; i < count(); ++i)
        longest = std::max(longest, fontMetrics().horizontalAdvance(itemText(i)));
    QStyleOptionComboBox option;
    initStyleOption(&option);
    return style()
        ->sizeFromContents(QStyle::CT_ComboBox, &option, {longest, fontMetrics().height()}, this)
        .width();
}

void DriveList::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    const QRect text =
        style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    option.currentText =
        fontMetrics().elidedText(option.currentText, Qt::ElideMiddle, text.width());
    painter.drawControl(QStyle::CE_ComboBoxLabel, option);
}
