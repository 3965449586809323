#pragma once

#include <QByteArray>
#include <QStringList>

// What Heroic records of a game in its GamesConfig/APPNAME.json: the game's
// settings under its app name, among them the Wine prefix it runs in.
class HeroicGameFile {
public:
    // The "winePrefix" texts of the file's settings, as written ("~/..."
    // too); none for a file that is no such JSON.
    static QStringList prefixes(const QByteArray& json);
};
