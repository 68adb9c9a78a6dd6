#include "about/program_launcher.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <QProcess>
#endif

namespace vexa {

bool DetachedProgramLauncher::startDetached(const QString& program)
{
    if (program.isEmpty())
        return false;
#ifdef _WIN32
    // The path is the application name, so no command-line parsing can split
    // it at a blank and start another program; with no command line of its
    // own, the program sees its path as its whole command line. Its window
    // opens shown normally and active; nothing of the process is kept.
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(reinterpret_cast<LPCWSTR>(program.utf16()), nullptr, nullptr, nullptr,
                        FALSE, 0, nullptr, nullptr, &startup, &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
#else
    QProcess process;
    process.setProgram(program);
    return process.startDetached();
#endif
}

} // namespace vexa
