#include "core/common/ErrorReport.h"

#include "core/common/Failure.h"
#include "core/common/MessageSink.h"

QString ErrorReport::text(const QString& tag, int number)
{
    return QStringLiteral("We have a problem, Please report this error = ") + tag
           + QString::number(number) + QStringLiteral(" to: ") + QStringLiteral(GRIMTIDE_CONTACT);
}

bool ErrorReport::trap(const QString& tag, const std::function<void()>& body,
                       const std::optional<PlainerMessage>& plainer) const
{
    try {
        body();
        return true;
    } catch (const Failure& failure) {
        const bool plain = plainer && plainer->number == failure.number();
        m_sink.show(plain ? plainer->text : text(tag, failure.number()));
        return false;
    }
}
