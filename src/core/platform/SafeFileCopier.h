#pragma once

#include "core/platform/StagedFile.h"

#include <QString>

// One whole-file copy that overwrites the destination and creates no folder.
// It writes the new file beside the destination under a temporary name,
// forces it to disk and renames it over the destination, so the file is
// always the old or the new one, never a torn mix. Failures are thrown as
// Failure with the documented numbers, naming the file or folder.
class SafeFileCopier {
public:
    void copy(const QString& source, const QString& destination);

    // Each temporary is locked while it is written; one left behind by a
    // killed copy is removed by this copier's first copy into its folder.
    static bool isTemporaryName(const QString& fileName)
    {
        return StagedFile::isTemporaryName(fileName);
    }

private:
    LeftoverSweep m_sweep;
};
