#pragma once

#include <QList>
#include <QString>

// The volumes a player could install a game to. On Windows a volume is a
// drive ("C:\"); elsewhere each mounted file system that holds no system
// files ("/", "/media/usb"), without the kernel's own.
class MountedVolumes {
public:
    struct Volume {
        QString root; // native form
        QString name; // the volume's label; may be empty
    };

    // Always holds "/" (where there is one) and the working directory's
    // volume; sorted by root, each root once.
    static QList<Volume> list();
    // Only those two, known without asking every mounted file system (one
    // of which may be a network's that does not answer).
    static QList<Volume> rootAndWorkingDirectory();

    // Whether root is path or one of its ancestors, compared as the system
    // compares names; "/media/usb" holds "/media/usb/x" but not "/media/usbx".
    // The number of characters root covers, or -1.
    static qsizetype matchLength(const QString& root, const QString& path);
};
