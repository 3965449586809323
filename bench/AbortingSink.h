#pragma once

#include "core/common/MessageSink.h"

// A benchmark expects no message: any message box means its set-up is wrong,
// and figures taken after it would not be the work they name.
class AbortingSink : public MessageSink {
public:
    void show(const QString& text) override;
};
