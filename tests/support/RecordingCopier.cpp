#include "support/RecordingCopier.h"

void RecordingCopier::copy(const QString& source, const QString& destination)
{
    m_copier.copy(source, destination);
    sources.append(source);
}
