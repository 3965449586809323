#include "support/RecordingCopier.h"

#include "core/common/Failure.h"

void RecordingCopier::copy(const QString& source, const QString& destination)
{
    if (!failSource.isEmpty() && source.contains(failSource))
        throw Failure(failNumber);
    m_copier.copy(source, destination);
    sources.append(source);
}
