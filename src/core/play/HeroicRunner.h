#pragma once

#include "core/play/Runner.h"

// A game Heroic keeps (a sideloaded one, for Battlefield 1942): its launch
// link "heroic://launch/APPNAME", opened with xdg-open, which hands it to
// Heroic as installed or as a Flatpak. The app name is that of the game's
// GamesConfig/APPNAME.json; the link names no store, so Heroic looks in each.
class HeroicRunner : public Runner {
public:
    HeroicRunner(QString appName, QString gameFolder);
    PlayPlan plan() const override;

private:
    QString m_appName;
    QString m_gameFolder;
};
