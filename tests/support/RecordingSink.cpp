#include "support/RecordingSink.h"

void RecordingSink::show(const QString& text)
{
    messages.append(text);
}
