#include "core/common/NumberText.h"

#include "core/common/Failure.h"

#include <QLocale>
#include <QString>

#include <cmath>

double NumberText::read(const QString& text)
{
    bool ok = false;
    const double number = QLocale::c().toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(number))
        throw Failure(FailureNumber::TypeMismatch);
    return number;
}
