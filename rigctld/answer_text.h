#pragma once

#include "rigctld/command.h"

#include <string>
#include <vector>

namespace vexa {

// The answer to a command in the form its client asked for, from the values
// it reads (in the order of its labels) and its result code. Plain: the
// values a line each, or "RPRT code" for a set or a failure. Extended: the
// command's name and arguments, each value after its label, then
// "RPRT code", separated as the client asked.
std::string answerText(const Command& command, const std::vector<std::string>& values, int code);

} // namespace vexa
