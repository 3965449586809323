#include "core/app/ModeSwitch.h"

#include "core/common/ErrorReport.h"
#include "core/common/Failure.h"

bool ModeSwitch::switches(const QString& status, GameMode mode)
{
    return status == modeStatus(otherMode(mode));
}

bool ModeSwitch::trapped(const ErrorReport& report, GameMode mode,
                         const std::function<void()>& body)
{
    return report.trap(mode == GameMode::Pure ? QStringLiteral("msetp") : QStringLiteral("msetu"),
                       body,
                       ErrorReport::PlainerMessage{FailureNumber::PathNotFound,
                                                   QStringLiteral("Please check your options")});
}
