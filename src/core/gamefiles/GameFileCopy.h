#pragma once

#include <QDir>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// One file the program puts into the game: a file of "cons" copied over one
// of the game's files below its mods folder.
struct GameFileCopy {
    QString source;       // relative to the working folder
    QString modsPath;     // the game's mods folder, as the settings give it
    QString file;         // below it, names joined by "/": "bf1942/init.con"
    QString folderAdvice; // what the player can do when the file's folder is missing
    // A folder below the mods folder the copy makes sense only with ("gtide_base":
    // Grimtide mode needs the mod), and what to do when it is missing.
    QString requiredFolder = {};
    QString requiredAdvice = {};
    // Where set (a Pure copy), the game's own file as kept before the program
    // first wrote there goes in place of the source, unless the game had none
    // or its kept file holds the bytes of one of these files of "cons" (an
    // earlier install left the game in their mode).
    std::optional<QStringList> keptUnlessOneOf = std::nullopt;

    QString destination() const { return modsPath + QDir::toNativeSeparators(file); }
};

// A stored setting whose value says that the copies are the game's state.
// An update cut short by a kill is completed when the settings file holds
// every such value, and undone when it does not.
struct DecidingSetting {
    QString field; // "status", "secure", "cr" or "rt"
    QString value;
    bool operator==(const DecidingSetting&) const = default;
};
// None: the copies are the game's state as soon as they are in place.
using Deciding = QList<DecidingSetting>;
