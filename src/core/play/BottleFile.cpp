#include "core/play/BottleFile.h"

#include "core/installdir/YamlDocument.h"

QString BottleFile::name(const QByteArray& yaml)
{
    return YamlDocument(yaml).text({"Name"});
}
