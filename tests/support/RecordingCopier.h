#pragma once

#include "core/platform/SafeFileCopier.h"

#include <QStringList>

// The program's copier, keeping a list of the copies made, and failing the
// copy whose source contains failSource with failNumber.
class RecordingCopier : public FileCopier {
public:
    void copy(const QString& source, const QString& destination) override;

    QStringList sources;
    QString failSource;
    int failNumber = 0;

private:
    SafeFileCopier m_copier;
};
