#pragma once

#include "core/common/FileCopier.h"

#include <QString>

class NativeFile;

// The program's copier. It writes the new file beside the destination under
// a temporary name, forces it to disk and renames it over the destination, so
// a game file is always the old or the new one, never a torn mix.
class SafeFileCopier : public FileCopier {
public:
    void copy(const QString& source, const QString& destination) override;

    // Temporary files carry this prefix and suffix. Each is locked while it
    // is written; one left behind by a killed copy, which nobody locks any
    // more, is removed by the next copy into the same folder.
    static bool isTemporaryName(const QString& fileName);

private:
    static void removeLeftovers(const QString& folder);
    static QString newTemporaryPath(const QString& folder);
    static NativeFile createTemporary(const QString& folder, int permissions, QString& path);
    static void writeCopy(const QString& source, NativeFile& out);
};
