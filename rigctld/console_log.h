#pragma once

#include "oscillator/dial.h"

#include <QString>

#include <string_view>

namespace vexa {

// The server's lines: each set on standard output, stamped with the time;
// problems on standard error, after the program's name.
void printSetLog(const QString& client, const Tuning& tuning, std::string_view result);
void printTransmitLog(const QString& client, double hz);
void printProblem(const QString& text);

} // namespace vexa
