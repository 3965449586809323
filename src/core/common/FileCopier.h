#pragma once

class QString;

// One whole-file copy that overwrites the destination and creates no folder.
// Failures are thrown as Failure with the documented numbers.
class FileCopier {
public:
    virtual ~FileCopier() = default;
    virtual void copy(const QString& source, const QString& destination) = 0;
};
