#pragma once

#include <QByteArray>
#include <QString>

// What Bottles records of a bottle in its bottle.yml, a YAML mapping: its
// "Name", by which bottles-cli knows the bottle (its folder is that name
// made fit for a file name, "My Game" in "My-Game").
class BottleFile {
public:
    // The top level's "Name" as a text; empty for a file that has none, or
    // is no YAML.
    static QString name(const QByteArray& yaml);
};
