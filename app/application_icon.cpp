#include "app/application_icon.h"

#include <QString>

namespace vexa {

QIcon applicationIcon()
{
    QIcon icon;
    for (const int size : {16, 32, 48, 256})
        icon.addFile(QStringLiteral(":/icons/vexa-sdr-control-%1.png").arg(size), QSize(size, size));
    return icon;
}

} // namespace vexa
