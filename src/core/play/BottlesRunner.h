#pragma once

#include "core/play/Runner.h"

// A bottle of Bottles's: "bottles-cli run -b NAME -e GAME/BF1942.exe", NAME
// being the bottle's name in its bottle.yml (its folder's name where that
// file names none); through the Flatpak's bottles-cli where that keeps the
// bottle.
class BottlesRunner : public Runner {
public:
    // A bottle's record is as large as a launcher's game file may be.
    static constexpr qint64 largestBottleFile = 1 << 20;

    BottlesRunner(QString bottle, bool flatpak, QString gameFolder);
    PlayPlan plan() const override;

private:
    QString name() const;

    QString m_bottle; // its folder
    bool m_flatpak;
    QString m_gameFolder;
};
