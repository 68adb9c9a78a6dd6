#include "about/file_probe.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <QFileInfo>
#endif

namespace vexa {

bool SystemFileProbe::isOrdinaryFile(const QString& path)
{
    if (path.isEmpty())
        return false;
#ifdef _WIN32
    const DWORD attributes = GetFileAttributesW(reinterpret_cast<LPCWSTR>(path.utf16()));
    return attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN |
                          FILE_ATTRIBUTE_SYSTEM)) == 0;
#else
    const QFileInfo file(path);
    return file.isFile() && !file.isHidden();
#endif
}

} // namespace vexa
