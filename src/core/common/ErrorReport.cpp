#include "core/common/ErrorReport.h"

#include "core/common/Failure.h"
#include "core/common/FailureText.h"
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
        QString first = FailureText::headline(failure.number());
        if (first.isEmpty())
            first = plainer && plainer->number == failure.number() ? plainer->text
                                                                   : text(tag, failure.number());
        const QString message = first + QLatin1Char('\n') + FailureText::sentence(failure);
        if (const auto offer = m_offers.constFind(failure.number()); offer != m_offers.cend())
            m_sink.showWithOffer(message, *offer);
        else
            m_sink.show(message);
        return false;
    }
}
