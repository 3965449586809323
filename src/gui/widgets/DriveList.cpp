#include "gui/widgets/DriveList.h"

#include "core/installdir/WinePrefixes.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>

#include <algorithm>

namespace {

#ifdef Q_OS_WIN
constexpr Qt::CaseSensitivity pathCase = Qt::CaseInsensitive;
#else
constexpr Qt::CaseSensitivity pathCase = Qt::CaseSensitive;
#endif

QString cleanAbsolute(const QString& path)
{
    return QDir::cleanPath(QFileInfo(QDir::fromNativeSeparators(path)).absoluteFilePath());
}

// The number of characters of path that root covers, or -1 if it does not
// hold path; "/media/usb" holds "/media/usb/x" but not "/media/usbx".
qsizetype matchLength(const QString& root, const QString& path)
{
    const QString clean = cleanAbsolute(root);
    if (path.compare(clean, pathCase) == 0)
        return clean.size();
    const QString prefix = clean.endsWith(u'/') ? clean : clean + u'/';
    return path.startsWith(prefix, pathCase) ? clean.size() : -1;
}

bool isPlayerVolume(const QStorageInfo& volume)
{
    static const QList<QByteArray> pseudoTypes{"proc", "sysfs", "devtmpfs", "devpts", "tmpfs",
                                               "cgroup", "cgroup2", "overlay", "squashfs",
                                               "autofs", "debugfs", "tracefs", "securityfs",
                                               "pstore", "bpf", "mqueue", "hugetlbfs", "fusectl",
                                               "configfs", "binfmt_misc", "efivarfs"};
    static const QStringList systemRoots{QStringLiteral("/proc"), QStringLiteral("/sys"),
                                         QStringLiteral("/dev"), QStringLiteral("/run"),
                                         QStringLiteral("/snap"), QStringLiteral("/boot")};
    const QString root = volume.rootPath();
    const bool underSystemRoot = std::any_of(systemRoots.begin(), systemRoots.end(), [&](const QString& s) {
        return matchLength(s, root) >= 0;
    });
    // Containers bind single files such as /etc/hosts; those are no drive.
    return volume.isValid() && QFileInfo(root).isDir() && !underSystemRoot
        && !pseudoTypes.contains(volume.fileSystemType());
}

DriveList::Drive driveOf(const QStorageInfo& volume)
{
    const QString root = QDir::toNativeSeparators(volume.rootPath());
    const QString name = volume.name();
    return {root, name.isEmpty() ? root : QStringLiteral("%1 (%2)").arg(root, name)};
}

} // namespace

DriveList::DriveList(QWidget* parent) : QComboBox(parent)
{
    connect(this, &QComboBox::activated, this, &DriveList::pick);
    setDrives(machineDrives());
    setDrive(QDir::currentPath());
}

QList<DriveList::Drive> DriveList::machineDrives()
{
    QList<QStorageInfo> volumes{QStorageInfo::root(), QStorageInfo(QDir::currentPath())};
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (isPlayerVolume(volume))
            volumes.append(volume);
    }
    QList<Drive> drives;
    for (const QStorageInfo& volume : volumes) {
        const Drive drive = driveOf(volume);
        const bool listed = std::any_of(drives.begin(), drives.end(), [&](const Drive& d) {
            return d.root == drive.root;
        });
        if (volume.isValid() && !listed)
            drives.append(drive);
    }
    std::sort(drives.begin(), drives.end(), [](const Drive& a, const Drive& b) {
        return a.root.compare(b.root, pathCase) < 0;
    });
    for (const WinePrefixes::DriveC& driveC : WinePrefixes::find(QDir::homePath()))
        drives.append({driveC.root, driveC.label});
    return drives;
}

void DriveList::setDrives(const QList<Drive>& drives)
{
    const QString shown = drive();
    clear();
    for (const Drive& d : drives)
        addItem(d.label, d.root);
    const int index = findData(shown);
    showDrive(index >= 0 ? index : 0);
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
    const QStringList forms{cleanAbsolute(path), QFileInfo(path).canonicalFilePath()};
    int best = -1;
    qsizetype bestLength = -1;
    for (int i = 0; i < count(); ++i) {
        for (const QString& form : forms) {
            const qsizetype length = form.isEmpty() ? -1 : matchLength(itemData(i).toString(), form);
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
