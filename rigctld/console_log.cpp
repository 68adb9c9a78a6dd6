#include "rigctld/console_log.h"

#include "rigctld/set_log.h"

#include <QDateTime>

#include <cstdio>

namespace vexa {

void printSetLog(const QString& client, const Tuning& tuning, std::string_view result)
{
    const QString time = QDateTime::currentDateTime().toString(Qt::ISODateWithMs);
    std::printf("%s\n",
                setLogLine(time.toStdString(), client.toStdString(), tuning, result).c_str());
    std::fflush(stdout);
}

void printProblem(const QString& text)
{
    std::fprintf(stderr, "vexa-sdr-rigctld: %s\n", qPrintable(text));
    std::fflush(stderr);
}

} // namespace vexa
