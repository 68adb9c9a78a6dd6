#include "rigctld/console_log.h"

#include "rigctld/set_log.h"

#include <QDateTime>

#include <cstdio>
#include <string>

namespace vexa {

namespace {

std::string now()
{
    return QDateTime::currentDateTime().toString(Qt::ISODateWithMs).toStdString();
}

void printLine(const std::string& line)
{
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

} // namespace

void printSetLog(const QString& client, const Tuning& tuning, std::string_view result)
{
    printLine(setLogLine(now(), client.toStdString(), tuning, result));
}

void printTransmitLog(const QString& client, double hz)
{
    printLine(transmitLogLine(now(), client.toStdString(), hz));
}

void printProblem(const QString& text)
{
    std::fprintf(stderr, "vexa-sdr-rigctld: %s\n", qPrintable(text));
    std::fflush(stderr);
}

} // namespace vexa
