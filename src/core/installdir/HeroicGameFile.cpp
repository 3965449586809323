#include "core/installdir/HeroicGameFile.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace {

void addPrefixOf(const QJsonObject& settings, QStringList& prefixes)
{
    const QString prefix = settings.value(QStringLiteral("winePrefix")).toString();
    if (!prefix.isEmpty() && !prefixes.contains(prefix))
        prefixes.append(prefix);
}

} // namespace

QStringList HeroicGameFile::prefixes(const QByteArray& json)
{
    const QJsonObject file = QJsonDocument::fromJson(json).object();
    QStringList prefixes;
    addPrefixOf(file, prefixes);
    for (const QJsonValue& settings : file)
        addPrefixOf(settings.toObject(), prefixes);
    return prefixes;
}
