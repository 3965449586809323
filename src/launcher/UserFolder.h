#pragma once

#include <QString>

// The player's own working folder for an installed program, whose delivered
// "gtdb.inf" and "cons" lie read-only in the system's data folder. The
// program changes its working folder's "gtdb.inf", and the player replaces
// the placeholder archives in "cons" with the real mod's, so both are copies.
class UserFolder {
public:
    UserFolder(QString folder, QString delivered);

    // $XDG_DATA_HOME/grimtide-switch, normally ~/.local/share/grimtide-switch.
    static QString defaultLocation();

    QString path() const { return m_folder; }

    // Copies whatever of the delivered files is missing, and nothing that is
    // there already: the player's settings and archives are kept. Throws
    // std::runtime_error naming the file that could not be laid down.
    void prepare() const;

private:
    void copyIfMissing(const QString& relative) const;

    QString m_folder;
    QString m_delivered;
};
