#pragma once

#include "core/installdir/GameSearch.h"

#include <QComboBox>
#include <QList>
#include <QString>

// Where a player's game can be: the Battlefield 1942 installs found on the
// machine, then its drives, then the drive C: of each Wine prefix. On
// Windows a drive is its root ("C:\"); elsewhere each mounted volume a player
// could install to counts as one ("/", "/media/usb"). The search for the
// games runs while the list is already shown: until it ends, only "/" and
// the working directory's volume are listed.
class DriveList : public QComboBox {
    Q_OBJECT

public:
    struct Drive {
        QString root; // native form
        QString label;
        bool isGame = false; // root is a game folder the machine holds
    };

    // Lists the volumes at hand and shows the one holding the working
    // directory.
    explicit DriveList(QWidget* parent = nullptr);

    // "/" and the working directory's volume, sorted by root.
    static QList<Drive> volumesAtHand();

    // Replaces the items, kept in the given order; shows the same drive as
    // before if it is still listed.
    void setDrives(const QList<Drive>& drives);

    // Until the search has ended, also before it starts.
    bool isSearching() const { return !m_searchEnded; }
    // Lists what the search found: its games, the volumes and the prefixes' drives.
    void listFound(const GameSearch::Found& found);
    // The width that shows the longest entry whole.
    int widthForLongestEntry() const;
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
    // The games found, the volumes and the prefixes' drives are listed.
    void searchEnded();

protected:
    // The shown entry shortened in its middle, so that both the game and
    // where it is stay readable in a narrow list.
    void paintEvent(QPaintEvent* event) override;

private:
    int driveIndexOf(const QString& path) const;
    void showDrive(int index);
    void pick(int index);

    bool m_searchEnded = false;
    QString m_shown; // the root last shown by code or picked by the player
};
