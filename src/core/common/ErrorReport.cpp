#include "core/common/ErrorReport.h"

#include "core/common/Failure.h"
#include "core/common/MessageSink.h"

QString ErrorReport::text(const QString& tag, int number)
{
    return QStringLiteral("We have a problem, Please report this error = ") + tag
           + QString::number(number) + QStringLiteral(" to: ")
           + QStringLiteral(GRIMTIDE_CONTACT);
}

bool ErrorReport::trap(const QString& tag, const std::function<void()>& body,
                       const PlainerMessage& plainer) const
{
    try {
        body();
        return true;
    } catch (const Failure& failure) {
        if (!plainer || !plainer(failure.number()))
            m_sink.show(text(tag, failure.number()));
        return false;
    }
}
