#pragma once

#include "core/platform/SafeFileCopier.h"

#include <QStringList>

// The program's copier, keeping a list of the copies made.
class RecordingCopier : public FileCopier {
public:
    void copy(const QString& source, const QString& destination) override
    {
        m_copier.copy(source, destination);
        sources.append(source);
    }
    QStringList sources;

private:
    SafeFileCopier m_copier;
};
