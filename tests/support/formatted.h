#pragma once

#include <cstdio>
#include <string>

namespace vexa::testing {

// printf-style text for the lines that fakes record, e.g. "close %d".
template <typename... Args>
std::string formatted(const char* pattern, Args... args)
{
    char line[128];
    std::snprintf(line, sizeof line, pattern, args...);
    return line;
}

} // namespace vexa::testing
