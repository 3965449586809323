#include "core/app/TrayIconRecord.h"

void TrayIconRecord::setTip(const QString& text)
{
    tipBytes = text.toLatin1().left(tipField - 1);
    tipBytes.append('\0');
    tipBytes.append(QByteArray(tipField - tipBytes.size(), ' '));
}

QString TrayIconRecord::tip() const
{
    return QString::fromLatin1(tipBytes.left(tipBytes.indexOf('\0')));
}
