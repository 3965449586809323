#include "core/installdir/LutrisGameFile.h"

#include "core/installdir/YamlDocument.h"

LutrisGameFile::Game LutrisGameFile::parse(const QByteArray& yaml)
{
    const YamlDocument document(yaml);
    return {document.text({"game", "prefix"}), document.text({"game", "exe"})};
}
