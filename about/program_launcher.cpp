#include "about/program_launcher.h"

#include <QProcess>

#ifdef _WIN32
#include <windows.h>
#endif

namespace vexa {

bool DetachedProgramLauncher::startDetached(const QString& program)
{
    if (program.isEmpty())
        return false;
    QProcess process;
    process.setProgram(program);
#ifdef _WIN32
    // Its window opens shown normally and active.
    process.setCreateProcessArgumentsModifier([](QProcess::CreateProcessArguments* arguments) {
        arguments->startupInfo->dwFlags |= STARTF_USESHOWWINDOW;
        arguments->startupInfo->wShowWindow = SW_SHOWNORMAL;
    });
#endif
    return process.startDetached();
}

} // namespace vexa
