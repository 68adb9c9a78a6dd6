#include "about/application_icon.h"

#include <QString>

// The icons are compiled into this static library; registering them by name
// keeps the linker from dropping them.
static void registerIconResources()
{
    Q_INIT_RESOURCE(vexa_about);
}

namespace vexa {

QIcon applicationIcon()
{
    static const bool registered = (registerIconResources(), true);
    Q_UNUSED(registered);

    QIcon icon;
    for (const int size : {16, 32, 48, 256})
        icon.addFile(QStringLiteral(":/icons/vexa-sdr-control-%1.png").arg(size), QSize(size, size));
    return icon;
}

} // namespace vexa
