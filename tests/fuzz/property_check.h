#pragma once

#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace vexa::fuzzing {

// Reports a property that does not hold, with the input that broke it, as a
// finding: libFuzzer keeps the input of an abort().
inline void check(bool holds, const char* what, std::string_view input)
{
    if (holds)
        return;
    std::fprintf(stderr, "property violated: %s\ninput: \"%.*s\"\n", what,
                 static_cast<int>(input.size()), input.data());
    std::abort();
}

} // namespace vexa::fuzzing
