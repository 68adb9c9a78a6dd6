#pragma once

#include <cstdio>
#include <string>

namespace vexa {

// printf into a string as long as the values need.
template <typename... Values>
std::string printed(const char* format, Values... values)
{
    const int length = std::snprintf(nullptr, 0, format, values...);
    if (length <= 0)
        return {};
    std::string text(static_cast<std::size_t>(length), '\0');
    // The terminating zero goes where std::string keeps its own.
    std::snprintf(text.data(), text.size() + 1, format, values...);
    return text;
}

} // namespace vexa
