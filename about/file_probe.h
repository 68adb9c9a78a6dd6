#pragma once

#include <QString>

namespace vexa {

// Tells whether a path names an existing ordinary file.
class FileProbe {
public:
    virtual ~FileProbe() = default;
    virtual bool isOrdinaryFile(const QString& path) = 0;
};

// The file system's answer: folders, hidden files and system files are not
// ordinary files (on Unix-like systems a name starting with "." is hidden).
class SystemFileProbe final : public FileProbe {
public:
    bool isOrdinaryFile(const QString& path) override;
};

} // namespace vexa
