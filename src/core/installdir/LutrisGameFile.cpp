#include "core/installdir/LutrisGameFile.h"

#include <yaml-cpp/yaml.h>

namespace {

// The key's text; null for a key that is missing or holds no text (a null,
// a mapping, a list).
QString textOf(const YAML::Node& game, const char* key)
{
    const YAML::Node value = game[key];
    return value.IsDefined() && value.IsScalar() ? QString::fromStdString(value.Scalar())
                                                 : QString();
}

} // namespace

LutrisGameFile::Game LutrisGameFile::parse(const QByteArray& yaml)
{
    try {
        const YAML::Node document = YAML::Load(yaml.toStdString());
        const YAML::Node game = document.IsMap() ? document["game"] : YAML::Node();
        if (!game.IsDefined() || !game.IsMap())
            return {};
        return {textOf(game, "prefix"), textOf(game, "exe")};
    } catch (const YAML::Exception&) {
        return {};
    }
}
