#pragma once

#include "core/play/Runner.h"

// A game of Lutris's: "lutris lutris:rungame/SLUG", the slug being the name
// Lutris gave its game file (SLUG-TIMESTAMP.yml), by which Lutris finds the
// game in its library; through its Flatpak where that keeps the record.
class LutrisRunner : public Runner {
public:
    LutrisRunner(QString slug, bool flatpak, QString gameFolder);
    PlayPlan plan() const override;

private:
    QString m_slug;
    bool m_flatpak;
    QString m_gameFolder;
};
