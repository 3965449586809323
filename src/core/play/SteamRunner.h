#pragma once

#include "core/play/Runner.h"

// A game Steam runs under Proton, in its prefix compatdata/APPID/pfx:
// "steam steam://rungameid/GAMEID". A game of Steam's own is its app id; a
// game the player added (app ids from 2^31 on) is the id Steam gives such
// a shortcut, the app id shifted up 32 bits with bit 25 set. Through its
// Flatpak where that keeps the library.
class SteamRunner : public Runner {
public:
    SteamRunner(QString appId, bool flatpak, QString gameFolder);
    PlayPlan plan() const override;

private:
    QString m_appId;
    bool m_flatpak;
    QString m_gameFolder;
};
