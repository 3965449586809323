#pragma once

#include "core/play/Runner.h"

// A plain Wine prefix, one no launcher records: "wine BF1942.exe" with
// WINEPREFIX set, in the game's folder, as a player starts it by hand.
class WineRunner : public Runner {
public:
    WineRunner(QString prefix, QString gameFolder);
    PlayPlan plan() const override;

    // The game's program in its folder, "BF1942.exe" as the folder spells it.
    static QString gameProgram(const QString& gameFolder);

private:
    QString m_prefix;
    QString m_gameFolder;
};
