#pragma once

#include <QString>

namespace vexa {

// Starts another program and lets it run on its own.
class ProgramLauncher {
public:
    virtual ~ProgramLauncher() = default;
    // True when the program at this path was started.
    virtual bool startDetached(const QString& program) = 0;
};

// Starts the program file at the path itself, with no arguments, without
// waiting for it or keeping anything of it. The path is never split into a
// command line, so blanks in it cannot make another program run.
class DetachedProgramLauncher final : public ProgramLauncher {
public:
    bool startDetached(const QString& program) override;
};

} // namespace vexa
