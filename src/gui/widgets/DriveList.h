#pragma once

#include <QComboBox>
#include <QList>
#include <QString>

// Where a player's game can be: the Battlefield 1942 installs found on the
// machine, then its drives, then the drive C: of each Wine prefix. On
// Windows a drive is its root ("C:\"); elsewhere each mounted volume a player
// could install to counts as one ("/", "/media/usb").
class DriveList : public QComboBox {
    Q_OBJECT

public:
    struct Drive {
        QString root; // native form
        QString label;
        bool isGame = false; // root is a game folder the machine holds
    };

    // Lists machineDrives() and shows the one holding the working directory.
    explicit DriveList(QWidget* parent = nullptr);

    // The games found, then the volumes sorted by root (always holding "/"
    // where there is one and the working directory's volume), then the
    // prefixes' drives.
    static QList<Drive> machineDrives();

    // Replaces the items, kept in the given order; shows the same drive as
    // before if it is still listed.
    void setDrives(const QList<Drive>& drives);

    // The game folders listed, in their order.
    QStringList games() const;

    // The root of the shown drive, in native form; empty if none is shown.
    QString drive() const;

    // Shows the drive with the longest root that holds the path. Leaves the
    // shown drive alone if none does.
    void setDrive(const QString& pathOnDrive);

signals:
    // Only when the player picks a drive other than the shown one.
    void driveChanged(const QString& root);

private:
    int driveIndexOf(const QString& path) const;
    void showDrive(int index);
    void pick(int index);

    QString m_shown; // the root last shown by code or picked by the player
};
