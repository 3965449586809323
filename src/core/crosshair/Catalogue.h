#pragma once

#include "core/gamefiles/GameFileCopy.h"

#include <QString>

// Crosshair choices 1 to 20 and reticle choices 1 to 3. A choice is known by
// its number alone: it is stored as its decimal text, shown as picture N of
// a list and installed from a numbered folder under "cons".
namespace Catalogue {

enum class Kind { Crosshair, Reticle };

inline constexpr int crosshairCount = 20;
inline constexpr int reticleCount = 3;
// Secure Mode pins these two choices.
inline constexpr int secureCrosshair = 12;
inline constexpr int secureReticle = 2;

int count(Kind kind);
QString pictureKey(Kind kind, int choice); // "cr7", "r3"

// The archive that installs a stored choice. Only the texts the program
// itself writes ("1".."20", "1".."3") form a path, so a settings row can never
// make us copy a file from outside "cons"; any other text is a missing
// source (53).
QString archiveSource(Kind kind, const QString& choiceText);
// The copy of a choice's archive over the mod's archive under the mods path.
GameFileCopy archiveCopy(Kind kind, const QString& choiceText, const QString& modsPath);

} // namespace Catalogue
